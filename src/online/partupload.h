// "Bauteil upload (ftp)": the maintainers send a part's files to the library's FTP server.
#pragma once

#include <string>

class QWidget;

namespace kx {

class TPartFiles;

/// Sends the mesh, normal, definition and picture files of part number; window's title shows
/// the number while the upload runs. Says how it ended.
bool UploadPartFiles(QWidget* window, const std::string& number, const TPartFiles& files);

}  // namespace kx
