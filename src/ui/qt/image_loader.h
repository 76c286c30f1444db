#pragma once
// Images named by the skin's attribute strings: either a bare file name ("logo.png") or key='value'
// pairs such as "file='power/power.png'" or "file='keys.png' source='0,0,20,20'". Files are relative to
// the skin folder; a path that leaves the skin folder, a missing file or a bad source rectangle gives a
// null pixmap (the control then draws without its image).

#include <QHash>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <filesystem>
#include <optional>
#include <string_view>

namespace zevik {

struct ImageAttribute {
    QString file;
    std::optional<QRect> source;  // part of the file to show; whole file when absent
    std::optional<QRect> dest;    // where in the control to draw; whole control when absent
};

// Parses an attribute string; nullopt when it names no file or a rectangle is malformed.
std::optional<ImageAttribute> ParseImageAttribute(std::string_view text);

class CImageLoader {
public:
    explicit CImageLoader(std::filesystem::path skinFolder);

    // The image an attribute string names, cut to its source rectangle.
    QPixmap Load(std::string_view attribute);
    const std::filesystem::path& SkinFolder() const { return m_folder; }

private:
    QPixmap LoadFile(const QString& relative);

    std::filesystem::path m_folder;
    QHash<QString, QPixmap> m_files;
};

}  // namespace zevik
