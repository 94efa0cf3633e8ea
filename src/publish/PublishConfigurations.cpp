// Server configurations in the settings store, and the first-time wizard.
#include "publish/PublishConfigurations.h"

#include <algorithm>
#include <optional>

#include "platform/FileSettings.h"

namespace orvo {

namespace {
constexpr std::string_view kFtpNet = "ftpnet";
constexpr std::string_view kOptions = "options";
constexpr int kMaxConfigurations = 10000;

// The writes of one step replace a settings file once.
class SettingsBatch {
public:
    explicit SettingsBatch(ISettings& settings) {
        if (auto* file = dynamic_cast<FileSettings*>(&settings)) batch_.emplace(*file);
    }

private:
    std::optional<FileSettings::Batch> batch_;
};
}  // namespace

int PublishConfigurations::Count() const {
    return settings_.ReadInt(kFtpNet, "numConfTot", 1, 1, kMaxConfigurations);
}

std::vector<std::string> PublishConfigurations::Names() const {
    std::vector<std::string> names;
    const int count = Count();
    for (int i = 0; i < count; ++i) names.push_back(settings_.ReadString(KeyOf(i), "nomeConf"));
    return names;
}

FtpServerConfig PublishConfigurations::Load(int index) const {
    const std::string key = KeyOf(index);
    FtpServerConfig c;
    c.nomeConf = settings_.ReadString(key, "nomeConf");
    c.server = settings_.ReadString(key, "server", c.server);
    c.port = settings_.ReadInt(key, "port", 21, 1, 65535);
    c.timeout = settings_.ReadInt(key, "timeout", 30, 1, 86400);
    c.user = settings_.ReadString(key, "user", c.user);
    c.BaseDir = settings_.ReadString(key, "BaseDir", c.BaseDir);
    c.www = settings_.ReadString(key, "www");
    c.savePass = settings_.ReadString(key, "savePass") == "1";
    if (c.savePass) c.pass = settings_.ReadString(key, "pass");
    c.useScript = settings_.ReadString(key, "useScript") == "1";
    c.script = settings_.ReadString(key, "script");
    c.scriptm = settings_.ReadString(key, "scriptm");
    return c;
}

void PublishConfigurations::Save(int index, const FtpServerConfig& c) {
    const std::string key = KeyOf(index);
    SettingsBatch batch(settings_);
    settings_.Write(key, "server", c.server);
    settings_.WriteInt(key, "timeout", c.timeout);
    settings_.WriteInt(key, "port", c.port);
    settings_.Write(key, "BaseDir", c.BaseDir);
    settings_.Write(key, "user", c.user);
    settings_.Write(key, "www", c.www);
    settings_.Write(key, "script", c.script);
    settings_.Write(key, "scriptm", c.scriptm);
    settings_.WriteFlag(key, "useScript", c.useScript);
    settings_.WriteFlag(key, "savePass", c.savePass);
    // A password the user no longer wants kept does not stay in the file.
    if (c.savePass)
        settings_.Write(key, "pass", c.pass);
    else
        settings_.DeleteValue(key, "pass");
    settings_.Write(key, "nomeConf", c.nomeConf);
    if (index == 0) settings_.Write(kOptions, "liteOk", "1");
}

int PublishConfigurations::SelectedFor(int mode) const {
    const int selected = settings_.ReadInt(kFtpNet, "NumSelectedConf" + std::to_string(mode), 0, -1,
                                           kMaxConfigurations);
    return selected < 0 || selected >= Count() ? 0 : selected;
}

void PublishConfigurations::SetSelected(int mode, int index) {
    settings_.WriteInt(kFtpNet, "NumSelectedConf" + std::to_string(mode), index);
}

bool PublishConfigurations::AutoChoose() const {
    return settings_.ReadString(kFtpNet, "autoChooseMod", "1") != "0";
}

void PublishConfigurations::SetAutoChoose(bool on) {
    settings_.WriteFlag(kFtpNet, "autoChooseMod", on);
}

int PublishConfigurations::Add(std::string_view name) {
    const int stored = settings_.ReadInt(kFtpNet, "numConfTot", 1, 1, kMaxConfigurations - 1);
    const int index = stored;
    SettingsBatch batch(settings_);
    settings_.WriteInt(kFtpNet, "numConfTot", stored + 1);
    settings_.Write(KeyOf(index), "nomeConf", name);
    return index;
}

bool PublishWizardRules::Needed() const {
    return settings_.ReadString(kOptions, "liteOk") != "1";
}

bool PublishWizardRules::Ok(const PublishWizardAnswers& a) {
    if (a.user.empty() || a.server.empty()) return false;
    SettingsBatch batch(settings_);
    settings_.Write(kOptions, "liteOk", "1");
    for (int mode = 0; mode < 4; ++mode)
        settings_.Write(kFtpNet, "NumSelectedConf" + std::to_string(mode), "0");
    settings_.Write(kFtpNet, "numConfTot", "1");
    const std::string key = PublishConfigurations::KeyOf(0);
    settings_.Write(key, "user", a.user);
    settings_.Write(key, "pass", a.password);
    settings_.Write(key, "server", a.server);
    settings_.Write(key, "BaseDir", a.baseDir);
    settings_.Write(key, "www", a.www);
    settings_.Write(key, "savepass", "1");
    settings_.Write(key, "nomeConf", "Internet - default");
    settings_.Write(key, "timeout", "60");
    settings_.Write(key, "port", "21");
    return true;
}

}  // namespace orvo
