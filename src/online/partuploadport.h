// The maintainers' part upload and version writes over the program's web client: the FTP
// server takes the files, the library server the revision.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/u_partpublish.h"
#include "online/u_webconfig.h"

class QWidget;

namespace kx {

class TFtpClient;

/// Every request runs on a worker thread while the window keeps painting (RunWebTask); the
/// settings are read afresh at each Connect and each version write, so a change in the server
/// settings counts at once.
class TWebPartUploadPort : public TPartUploadPort {
public:
    using TSettingsSource = std::function<TWebSettings()>;
    /// Without settings: the stored online settings.
    explicit TWebPartUploadPort(QWidget* window, TSettingsSource settings = {});
    ~TWebPartUploadPort() override;

    /// An FTP server and the library server are set.
    bool Ready() const override;
    bool Connect(std::string& error) override;
    bool Store(const TUploadFile& file, std::string& error) override;
    void Disconnect() override;
    std::optional<std::string> SetPartVersion(std::string_view number, int32_t version,
                                              std::string& error) override;

private:
    TWebSettings Settings() const;

    QWidget* m_window;
    TSettingsSource m_settings;
    std::unique_ptr<TFtpClient> m_ftp;
};

}  // namespace kx
