#include "ui/qt/image_loader.h"

#include <QStringList>
#include <system_error>

namespace zevik {

namespace {

std::optional<QRect> ParseRect(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    // Rectangles are given as left, top, right, bottom.
    if (v[2] < v[0] || v[3] < v[1]) {
        return std::nullopt;
    }
    return QRect(v[0], v[1], v[2] - v[0], v[3] - v[1]);
}

}  // namespace

std::optional<ImageAttribute> ParseImageAttribute(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    ImageAttribute out;
    if (!s.contains(QLatin1Char('='))) {
        out.file = s;
        if (out.file.isEmpty()) {
            return std::nullopt;
        }
        return out;
    }
    qsizetype i = 0;
    while (i < s.size()) {
        while (i < s.size() && s[i].isSpace()) {
            ++i;
        }
        const qsizetype eq = s.indexOf(QLatin1Char('='), i);
        if (eq < 0) {
            break;
        }
        const QString key = s.mid(i, eq - i).trimmed();
        if (eq + 1 >= s.size() || (s[eq + 1] != QLatin1Char('\'') && s[eq + 1] != QLatin1Char('"'))) {
            return std::nullopt;
        }
        const QChar quote = s[eq + 1];
        const qsizetype close = s.indexOf(quote, eq + 2);
        if (close < 0) {
            return std::nullopt;
        }
        const QString value = s.mid(eq + 2, close - eq - 2);
        if (key == QLatin1String("file") || key == QLatin1String("res")) {
            out.file = value;
        } else if (key == QLatin1String("source")) {
            out.source = ParseRect(value);
            if (!out.source) {
                return std::nullopt;
            }
        } else if (key == QLatin1String("dest")) {
            out.dest = ParseRect(value);
            if (!out.dest) {
                return std::nullopt;
            }
        }
        // Other keys (corner, fade, mask, ...) change only the drawing finesse and are ignored.
        i = close + 1;
    }
    if (out.file.isEmpty()) {
        return std::nullopt;
    }
    return out;
}

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
    }
    m_files.insert(relative, pixmap);
    return pixmap;
}

QPixmap CImageLoader::Load(std::string_view attribute) {
    const auto parsed = ParseImageAttribute(attribute);
    if (!parsed) {
        return {};
    }
    QPixmap whole = LoadFile(parsed->file);
    if (whole.isNull() || !parsed->source) {
        return whole;
    }
    const QRect source = *parsed->source;
    if (!whole.rect().contains(source) || source.isEmpty()) {
        return {};
    }
    return whole.copy(source);
}

}  // namespace zevik
