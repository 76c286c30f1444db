#pragma once
// CMusicWnd: the music window ("music.xml"), opened from the keyboard's lighting page. Four tabs
// "audio_select_tab1".."4" choose a group, the sliders "audio_r_slider", "audio_g_slider",
// "audio_b_slider" (0-9) set the chosen group's three values, and "audio_edit_name1".."4" name the
// groups. "okbtn" closes with 1, "closebtn" with 0; the caller takes Record() on 1.
//
// Prepared answers (no renderer): "yes" clicks "okbtn", "group=N:R,G,B" selects tab N, moves the
// three sliders and clicks "okbtn", "name=N:TEXT" types TEXT into name N, leaves the edit and
// clicks "okbtn"; anything else clicks "closebtn".

#include <optional>
#include <string>
#include <string_view>

#include "audio_lighting/music_style_record.h"
#include "shell/secondary_wnd.h"

namespace zevik {

class CMusicWnd : public CSecondaryWnd {
public:
    static constexpr std::string_view kClassName = "MusicWnd";
    static constexpr std::string_view kTitle = "  ";
    static constexpr int kWidth = 369;
    static constexpr int kHeight = 276;
    // A group's name when its edit is left empty, by group.
    static std::string_view DefaultName(int group);

    explicit CMusicWnd(MusicStyleRecord record) : m_record(std::move(record)) {}

    std::string_view GetWindowClassName() const override { return kClassName; }
    std::string GetSkinFile() override { return "XML/music.xml"; }
    void Notify(TNotifyUI& msg) override;

    const MusicStyleRecord& Record() const { return m_record; }

protected:
    void ApplyAnswer(const std::string& answer) override;

private:
    void OnWindowInit();
    // The group of the first selected tab; group 0 when none is.
    int CurrentGroup() const;
    void ShowGroup(int group);
    void TakeName(int group);
    void Fail();

    MusicStyleRecord m_record;
};

// A group change or a name change as the answers and the command line give it; nothing when the
// text is not one (groups 1-4, values 0-9).
struct MusicGroupAnswer {
    int group = 0;  // 1..4
    std::array<int, 3> values{};
};
std::optional<MusicGroupAnswer> ParseMusicGroupAnswer(std::string_view answer);
struct MusicNameAnswer {
    int group = 0;  // 1..4
    std::string name;
};
std::optional<MusicNameAnswer> ParseMusicNameAnswer(std::string_view answer);

// Opens the music window over parent at that DPI with the record and runs it; the changed record
// after "okbtn", nothing when it was closed otherwise or could not open.
std::optional<MusicStyleRecord> ShowMusicWindow(HWND parent, int dpi, const MusicStyleRecord& record,
                                                HWND* openWindow = nullptr);

}  // namespace zevik
