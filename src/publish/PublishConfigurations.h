// The FTP server configurations of publishing, kept in the settings store under "ftpnet", and
// the first-time wizard ("Orvo - Pubblicazione in Internet") that writes configuration 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ISettings.h"

namespace orvo {

/// One server configuration as the dialog's fields show it.
struct FtpServerConfig {
    std::string nomeConf;
    std::string server = "ftp.example.com";  // placeholder host of a missing value
    int port = 21;
    int timeout = 30;  // seconds
    std::string user = "unknown";
    std::string BaseDir = "/";
    std::string www;
    bool savePass = false;
    std::string pass;  // stored only while savePass is on
    bool useScript = false;
    std::string script;
    std::string scriptm;  // several lines
    bool operator==(const FtpServerConfig&) const = default;
};

/// The configurations in the store. Value names compare without regard to case, so the
/// wizard's "savepass" and the dialog's "savePass" are the same value.
class PublishConfigurations {
public:
    explicit PublishConfigurations(ISettings& settings) : settings_(settings) {}

    static std::string KeyOf(int index) { return "ftpnet\\" + std::to_string(index); }

    /// "numConfTot", 1 when missing or unreadable, at least 1.
    int Count() const;
    /// "nomeConf" of configurations 0 to Count() - 1.
    std::vector<std::string> Names() const;
    /// Configuration `index` with the dialog's defaults for missing values; the password only
    /// when savePass is "1".
    FtpServerConfig Load(int index) const;
    /// Writes the fields into "ftpnet\\" + index; the password only when savePass is on (a
    /// password stored before is removed when it is off). Configuration 0 also sets "liteOk".
    void Save(int index, const FtpServerConfig& config);

    /// "NumSelectedConf" + mode; 0 when missing or out of range.
    int SelectedFor(int mode) const;
    void SetSelected(int mode, int index);
    /// "autoChooseMod": anything but "0" (and nothing) is yes.
    bool AutoChoose() const;
    void SetAutoChoose(bool on);

    /// Adds a configuration named `name` after the stored ones (numConfTot := stored count
    /// + 1, 2 when missing) and returns its index.
    int Add(std::string_view name);

private:
    ISettings& settings_;
};

/// What the first-time wizard asks.
struct PublishWizardAnswers {
    std::string user;
    std::string password;
    std::string server;
    std::string baseDir = "/";
    std::string www = "http://";
};

/// The wizard's rules: shown while "liteOk" is not "1"; OK writes configuration 0.
class PublishWizardRules {
public:
    explicit PublishWizardRules(ISettings& settings) : settings_(settings) {}
    bool Needed() const;
    /// OK: false (the dialog beeps and stays) when the user or the server is empty; else the
    /// answers become configuration 0, selected in every mode, and "liteOk" is "1".
    bool Ok(const PublishWizardAnswers& answers);

private:
    ISettings& settings_;
};

}  // namespace orvo
