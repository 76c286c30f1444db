#include "ui/qt/image_loader.h"

#include <QPainter>
#include <system_error>

#include "ui/attribute_parser.h"
#include "ui/paint_manager_ui.h"

namespace zevik {

CImageLoader::CImageLoader(std::filesystem::path skinFolder) : m_folder(std::move(skinFolder)) {}

QPixmap CImageLoader::LoadFile(const QString& relative) {
    if (auto it = m_files.constFind(relative); it != m_files.constEnd()) {
        return *it;
    }
    QPixmap pixmap;
    QString normalised = relative;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const std::filesystem::path rel(normalised.toStdString());
    // Skins may only reach their own folder: no absolute paths and no climbing out of it.
    bool inside = !rel.is_absolute() && !rel.empty();
    for (const auto& part : rel) {
        if (part == "..") {
            inside = false;
        }
    }
    if (inside) {
        pixmap.load(QString::fromStdString((m_folder / rel).string()));
    } else if (rel.is_absolute() && CPaintManagerUI::IsImageFileAllowed(rel.string())) {
        pixmap.load(QString::fromStdString(rel.string()));  // a file the program was told to show
    }
    m_files.insert(relative, pixmap);
    return pixmap;
}

QPixmap CImageLoader::Load(std::string_view attribute) {
    const auto parsed = ParseImageAttribute(attribute);
    if (!parsed) {
        return {};
    }
    const QString key = QString::fromUtf8(attribute.data(), static_cast<qsizetype>(attribute.size()));
    if (parsed->fade < 255) {
        if (auto it = m_faded.constFind(key); it != m_faded.constEnd()) {
            return *it;
        }
    }
    QPixmap image = LoadFile(QString::fromStdString(parsed->file));
    if (!image.isNull() && parsed->source) {
        const QRect source(parsed->source->left, parsed->source->top, parsed->source->GetWidth(),
                           parsed->source->GetHeight());
        if (!image.rect().contains(source) || source.isEmpty()) {
            return {};
        }
        image = image.copy(source);
    }
    if (image.isNull() || parsed->fade >= 255) {
        return image;
    }
    QPixmap faded = Faded(image, parsed->fade);
    m_faded.insert(key, faded);
    return faded;
}

QPixmap CImageLoader::Faded(const QPixmap& image, int fade) {
    QPixmap faded(image.size());
    faded.setDevicePixelRatio(image.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(fade / 255.0);
    painter.drawPixmap(0, 0, image);
    return faded;
}

}  // namespace zevik
