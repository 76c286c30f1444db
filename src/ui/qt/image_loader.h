#pragma once
// Images named by the skin's attribute strings (parsed by the core's ParseImageAttribute): either a bare file
// name ("logo.png") or key='value' pairs such as "file='power/power.png'" or "file='keys.png'
// source='0,0,20,20'"; "fade='N'" (0 to 255) draws the image at that opacity. Files are relative to the skin folder; a path that leaves the skin folder, a missing
// file or a bad source rectangle gives a null pixmap (the control then draws without its image).

#include <QHash>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <filesystem>
#include <string_view>

namespace zevik {

class CImageLoader {
public:
    explicit CImageLoader(std::filesystem::path skinFolder);

    // The image an attribute string names, cut to its source rectangle.
    QPixmap Load(std::string_view attribute);
    const std::filesystem::path& SkinFolder() const { return m_folder; }

private:
    QPixmap LoadFile(const QString& relative);
    static QPixmap Faded(const QPixmap& image, int fade);

    std::filesystem::path m_folder;
    QHash<QString, QPixmap> m_files;
    // Faded images by their whole attribute: a blinking image cycles through a few fades, each made once.
    QHash<QString, QPixmap> m_faded;
};

}  // namespace zevik
