#include "ui/qt/font_loader.h"

#include <QFontDatabase>
#include <QHash>
#include <algorithm>
#include <cctype>
#include <system_error>

namespace zevik {

namespace {

struct ResolvedFace {
    QString family;
    QString style;  // empty: the family's default style
};

// Face name -> what SetFontFace found for it. UI thread only, as the fonts themselves.
QHash<QString, ResolvedFace>& ResolvedFaces() {
    static QHash<QString, ResolvedFace> faces;
    return faces;
}

ResolvedFace ResolveFace(const QString& face) {
    if (QFontDatabase::hasFamily(face)) {
        return {face, {}};
    }
    // "Family Style", where the style itself may hold spaces ("Semi Bold"): try each split.
    for (qsizetype space = face.lastIndexOf(' '); space > 0; space = face.lastIndexOf(' ', space - 1)) {
        const QString family = face.left(space);
        const QString style = face.mid(space + 1);
        if (QFontDatabase::hasFamily(family) &&
            QFontDatabase::styles(family).contains(style, Qt::CaseInsensitive)) {
            return {family, style};
        }
    }
    return {face, {}};
}

}  // namespace

CFontLoader::~CFontLoader() {
    for (auto it = m_ids.rbegin(); it != m_ids.rend(); ++it) {
        QFontDatabase::removeApplicationFont(*it);
    }
    if (!m_ids.empty()) {
        ResolvedFaces().clear();
    }
}

bool CFontLoader::AddFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return false;
    }
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(file, ec);
    if (std::find(m_files.begin(), m_files.end(), canonical) != m_files.end()) {
        return true;  // the named fonts and the rest of the folder overlap
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(file.string()));
    if (id < 0) {
        return false;
    }
    ResolvedFaces().clear();
    m_ids.push_back(id);
    m_files.push_back(canonical);
    for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
        if (!m_families.contains(family)) {
            m_families.append(family);
        }
    }
    return true;
}

int CFontLoader::Load(const std::filesystem::path& folder, const std::vector<std::string>& relativePaths) {
    int loaded = 0;
    for (const std::string& relative : relativePaths) {
        if (AddFile(folder / relative)) {
            ++loaded;
        }
    }
    return loaded;
}

int CFontLoader::LoadFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".ttf" || ext == ".otf") {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    int loaded = 0;
    for (const auto& file : files) {
        if (AddFile(file)) {
            ++loaded;
        }
    }
    return loaded;
}

void SetFontFace(QFont& font, const QString& face) {
    auto& faces = ResolvedFaces();
    auto it = faces.constFind(face);
    if (it == faces.constEnd()) {
        it = faces.insert(face, ResolveFace(face));
    }
    font.setFamily(it->family);
    if (!it->style.isEmpty()) {
        font.setStyleName(it->style);
    }
}

}  // namespace zevik
