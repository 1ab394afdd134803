// The online library's model index: one record per shared model, read from and written as
// the XML document the server keeps.
#include "online/u_modelindex.h"

#include <QStringList>
#include <QXmlStreamReader>

namespace kx {

namespace {

QString* Field(TModelData& model, QStringView element) {
    const QString name = element.toString().toUpper();
    if (name == QLatin1String("NAME"))
        return &model.Name;
    if (name == QLatin1String("ORIGINAL"))
        return &model.Original;
    if (name == QLatin1String("BUILDBY"))
        return &model.BuildBy;
    if (name == QLatin1String("TAGS"))
        return &model.Tags;
    if (name == QLatin1String("DESCRIPTION"))
        return &model.Description;
    if (name == QLatin1String("IMAGEFILE"))
        return &model.ImageFile;
    if (name == QLatin1String("MODELFILE"))
        return &model.ModelFile;
    return nullptr;
}

/// Element nesting deeper than this is refused as it is not an index.
constexpr int kMaxDepth = 16;

/// Text as element content: markup characters escaped, control characters other than line
/// breaks and tabs dropped (XML 1.0 cannot hold them).
QString Escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '<':
                out += QStringLiteral("&lt;");
                break;
            case '>':
                out += QStringLiteral("&gt;");
                break;
            case '&':
                out += QStringLiteral("&amp;");
                break;
            case '"':
                out += QStringLiteral("&quot;");
                break;
            case '\r':
                out += QStringLiteral("&#13;");
                break;
            default:
                if (c.unicode() >= 0x20 || c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace

bool ParseModelIndex(const QByteArray& xml, std::vector<TModelData>& models) {
    models.clear();
    QXmlStreamReader reader(xml);
    int depth = 0;
    bool inModel = false;
    TModelData record;
    QString* field = nullptr;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartElement:
                ++depth;
                if (depth > kMaxDepth) {
                    return false;
                }
                if (depth == 2 &&
                    reader.name().compare(QLatin1String("MODEL"), Qt::CaseInsensitive) == 0) {
                    inModel = true;
                    record = {};
                } else if (depth == 3 && inModel) {
                    field = Field(record, reader.name());
                    if (field) {
                        field->clear();
                    }
                } else {
                    field = depth > 3 ? nullptr : field;
                }
                break;
            case QXmlStreamReader::Characters:
                if (field && depth == 3) {
                    *field += reader.text();
                }
                break;
            case QXmlStreamReader::EndElement:
                if (depth == 3) {
                    field = nullptr;
                } else if (depth == 2 && inModel) {
                    models.push_back(record);
                    inModel = false;
                }
                --depth;
                break;
            default:
                break;
        }
    }
    return !reader.hasError();
}

QByteArray WriteModelIndex(const std::vector<TModelData>& models) {
    QString out =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<KORVEXMODELS>\r\n");
    for (const TModelData& m : models) {
        out += QStringLiteral("  <MODEL>\r\n");
        const std::pair<const char*, const QString*> fields[] = {{"NAME", &m.Name},
                                                                 {"ORIGINAL", &m.Original},
                                                                 {"BUILDBY", &m.BuildBy},
                                                                 {"TAGS", &m.Tags},
                                                                 {"DESCRIPTION", &m.Description},
                                                                 {"IMAGEFILE", &m.ImageFile},
                                                                 {"MODELFILE", &m.ModelFile}};
        for (const auto& [name, value] : fields) {
            const QString tag = QString::fromLatin1(name);
            out += QStringLiteral("    <") + tag + QLatin1Char('>') + Escaped(*value) +
                   QStringLiteral("</") + tag + QStringLiteral(">\r\n");
        }
        out += QStringLiteral("  </MODEL>\r\n");
    }
    out += QStringLiteral("</KORVEXMODELS>\r\n");
    return out.toUtf8();
}

QStringList ModelTags(const TModelData& model) {
    QStringList tags;
    for (const QString& part : model.Tags.split(QLatin1Char(','))) {
        if (!part.trimmed().isEmpty()) {
            tags << part.trimmed();
        }
    }
    return tags;
}

}  // namespace kx
