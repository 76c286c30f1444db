#pragma once
// The program's private fonts: font files from its "Font" folder added to the process's font database
// so skins can name their families. A missing or unreadable file is skipped; the rest still load.

#include <QFont>
#include <QStringList>
#include <filesystem>
#include <string>
#include <vector>

namespace zevik {

class CFontLoader {
public:
    CFontLoader() = default;
    // Removes every font this loader added, last added first.
    ~CFontLoader();
    CFontLoader(const CFontLoader&) = delete;
    CFontLoader& operator=(const CFontLoader&) = delete;

    // Adds the files at folder / each relative path, in order. Returns how many loaded.
    int Load(const std::filesystem::path& folder, const std::vector<std::string>& relativePaths);
    // Adds every .ttf and .otf file of the folder, in name order. A missing folder loads nothing.
    int LoadFolder(const std::filesystem::path& folder);
    // Family names of the loaded fonts, as the font database reported them, without repeats.
    QStringList Families() const { return m_families; }

private:
    bool AddFile(const std::filesystem::path& file);

    std::vector<int> m_ids;
    std::vector<std::filesystem::path> m_files;
    QStringList m_families;
};

// Skins name a face as the font's full name ("MiSans Normal"); the font database knows it as a family
// with a style ("MiSans", "Normal"). Sets the family, and the style when the name ends in one of the
// family's styles; a name the database does not know is set as the family, for Qt to substitute.
// Each name is looked up once (the database asks fontconfig for aliases, which costs far more than
// the rest of a widget's update); a CFontLoader that adds or removes fonts forgets the answers.
void SetFontFace(QFont& font, const QString& face);

}  // namespace zevik
