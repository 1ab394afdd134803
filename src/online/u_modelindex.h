// The online library's model index: one record per shared model, read from and written as
// the XML document the server keeps.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace kx {

struct TModelData {
    QString Name, Original, BuildBy, Tags, Description, ImageFile, ModelFile;
    bool operator==(const TModelData&) const = default;
};

inline constexpr const char* kModelIndexPath = "/downloads/modelle/kxmodels.xml";
inline constexpr const char* kModelFolderPath = "/downloads/modelle/";
inline constexpr const char* kModelIndexFile = "kxmodels.xml";

/// The records of an index in document order. Only the field elements directly inside a MODEL
/// element directly inside the root are read; anything nested deeper, and anything after a
/// syntax error, is left out. Returns false for a document that is not well-formed XML (the
/// records read before the error are kept).
bool ParseModelIndex(const QByteArray& xml, std::vector<TModelData>& models);

/// The index as the server keeps it: CR LF lines, UTF-8, every field XML-escaped.
QByteArray WriteModelIndex(const std::vector<TModelData>& models);

/// The category path of a model: its tags split at ",", blanks trimmed, empty parts dropped.
QStringList ModelTags(const TModelData& model);

}  // namespace kx
