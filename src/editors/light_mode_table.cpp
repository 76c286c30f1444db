#include "editors/light_mode_table.h"

#include <initializer_list>
#include <vector>

namespace zevik {

namespace {

// A cell of the table: on (enabled), off (disabled), and either of them hidden.
enum class Cell { On, Off, OnHidden, OffHidden };

// Extras of a row, as flags.
enum Extra : unsigned {
    kNone = 0,
    kLightColourOff = 1u << 0,  // "light_color_layout" disabled
    kSameMode = 1u << 1,        // the mode offers "deng_same_mode"
    kZzccShown = 1u << 2,       // the sub-mode selector shows
    kCustomShown = 1u << 3,     // the per-key colour layout shows
    kAudioShown = 1u << 4,      // the audio selector shows, with colour tab 1
};

struct ModeRow {
    std::vector<int> modes;
    Cell sevenColour, colour, brightness, speed, direction;
    unsigned extras = kNone;
    const char* firstText = nullptr;  // direction texts, when the row changes them
    const char* secondText = nullptr;
};

constexpr Cell On = Cell::On;
constexpr Cell Off = Cell::Off;

// The parts each kind sets before its row.
struct Reset {
    bool customHidden = false;
    bool zzccHidden = false;
    bool audioHidden = false;
    bool speedShown = false;
    bool lightColourOn = false;
    bool colourTab0 = false;
    const char* firstText = nullptr;
    const char* secondText = nullptr;
    // Every kind hides "deng_same_mode" and turns the direction on.
};

struct KindTable {
    std::vector<int> pageKinds;
    Reset reset;
    std::vector<ModeRow> rows;
};

const std::vector<KindTable>& Tables() {
    static const std::vector<KindTable> tables = {
        {{1},
         {true, true, true, true, true, true, "light_set_right_to_left_text", "light_set_left_to_right_text"},
         {
             {{1, 2}, On, On, On, On, On},
             {{3, 24}, On, On, On, On, On, kNone, "light_set_clockwise_text", "light_set_anticlockwise_text"},
             {{4}, Off, Off, On, On, Off, kLightColourOff | kSameMode},
             {{5, 23}, On, On, On, On, Off, kSameMode},
             {{6}, On, On, On, Off, Off, kSameMode},
             {{7, 8, 9, 10, 13, 14, 15, 22, 25}, On, On, On, On, Off},
             {{11, 26}, Off, Off, On, On, Off, kLightColourOff},
             {{12}, Off, Off, On, On, On, kNone, "light_set_down_to_up_text", "light_set_up_to_down_text"},
             {{16}, On, On, On, Off, Off},
             {{17}, Off, Off, On, Cell::OnHidden, Off, kZzccShown | kLightColourOff},
             {{18},
              Off,
              Off,
              On,
              Off,
              On,
              kLightColourOff,
              "light_set_outside_to_inside_text",
              "light_set_inside_to_outside_text"},
             {{20}, Off, On, On, Cell::OffHidden, Off, kCustomShown},
             {{21}, On, On, On, On, On, kNone, "light_set_up_to_down_text", "light_set_down_to_up_text"},
             {{27}, Off, Off, On, On, Off},
             {{28}, Off, Off, Off, Off, Off, kSameMode},
             {{29}, On, On, On, Cell::OffHidden, On, kAudioShown},
             {{30}, Off, Off, On, Off, Off, kLightColourOff},
         }},
        {{2},
         {false, false, true, true, false, true, "light_set_down_to_up_text", "light_set_up_to_down_text"},
         {
             {{1, 6}, On, On, On, On, On},
             {{2}, Off, Off, On, On, Off},
             {{3, 5, 7}, On, On, On, On, Off},
             {{4}, Off, On, On, Off, Off},
             {{8, 9}, Off, Off, On, On, Off},
             {{10, 11}, Off, Off, Off, Off, Off},
             {{12}, On, On, On, Cell::OffHidden, On, kAudioShown},
         }},
        {{3, 4, 7},
         {},
         {
             {{1}, On, On, On, On, On},
             {{2}, Off, Off, On, On, Off, kSameMode},
             {{3, 5}, On, On, On, On, Off, kSameMode},
             {{4}, Off, On, On, Off, Off, kSameMode},
             {{6, 7, 8}, Off, Off, Off, Off, Off},
             {{9}, Off, Off, Off, Off, Off, kSameMode},
         }},
        {{5},
         {},
         {
             {{1, 3, 4}, On, On, On, On, On},
             {{2}, Off, On, On, Off, On},
             {{5}, Off, Off, On, On, Off},
             {{6}, Off, Off, Off, Off, Off},
         }},
    };
    return tables;
}

const KindTable* TableOf(int pageKind) {
    for (const KindTable& table : Tables()) {
        for (int kind : table.pageKinds) {
            if (kind == pageKind) return &table;
        }
    }
    return nullptr;
}

LightPartState StateOf(Cell cell) {
    switch (cell) {
        case Cell::On:
            return {true, std::nullopt};
        case Cell::Off:
            return {false, std::nullopt};
        case Cell::OnHidden:
            return {true, false};
        case Cell::OffHidden:
            return {false, false};
    }
    return {};
}

// A part the row sets keeps what the reset said of the other state (a shown speed stays shown).
void Set(LightPartState& part, Cell cell) {
    const LightPartState row = StateOf(cell);
    part.enabled = row.enabled;
    if (row.visible) part.visible = row.visible;
}

void ApplyReset(const Reset& reset, LightModeView& view) {
    view.direction.enabled = true;
    if (reset.customHidden) view.customLayout.visible = false;
    if (reset.zzccHidden) view.zzccSelector.visible = false;
    if (reset.audioHidden) view.audioSelector.visible = false;
    if (reset.speedShown) view.speed.visible = true;
    if (reset.lightColourOn) view.lightColour.enabled = true;
    if (reset.colourTab0) view.colourTab = 0;
    if (reset.firstText != nullptr) {
        view.directionFirstText = reset.firstText;
        view.directionSecondText = reset.secondText;
    }
}

}  // namespace

bool HasLightModeTable(int pageKind) {
    return TableOf(pageKind) != nullptr;
}

LightModeView LightModeFor(int pageKind, int mode) {
    LightModeView view;
    const KindTable* table = TableOf(pageKind);
    if (table == nullptr) return view;
    ApplyReset(table->reset, view);
    for (const ModeRow& row : table->rows) {
        for (int listed : row.modes) {
            if (listed != mode) continue;
            view.listed = true;
            Set(view.sevenColour, row.sevenColour);
            Set(view.colour, row.colour);
            Set(view.brightness, row.brightness);
            Set(view.speed, row.speed);
            Set(view.direction, row.direction);
            if ((row.extras & kLightColourOff) != 0) view.lightColour.enabled = false;
            if ((row.extras & kZzccShown) != 0) view.zzccSelector.visible = true;
            if ((row.extras & kCustomShown) != 0) view.customLayout.visible = true;
            if ((row.extras & kAudioShown) != 0) {
                view.audioSelector.visible = true;
                view.colourTab = 1;
            }
            view.offersSameMode = (row.extras & kSameMode) != 0;
            if (row.firstText != nullptr) {
                view.directionFirstText = row.firstText;
                view.directionSecondText = row.secondText;
            }
            return view;
        }
    }
    // Not listed: only the effect list stays usable.
    for (LightPartState* part : {&view.sevenColour, &view.colour, &view.brightness, &view.speed,
                                 &view.direction, &view.lightColour}) {
        part->enabled = false;
    }
    return view;
}

}  // namespace zevik
