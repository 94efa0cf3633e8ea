// orvo-cli publish: a hypertext published over FTP by version, as the publishing window does
// with "scegli automaticamente modificate": exported beside the document, the server's version
// read, the changed items sent, a new version page written.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Paths.h"
#include "convert/ExportOptions.h"
#include "convert/HtmlExport.h"
#include "convert/TKYTListHtmlToTx.h"
#include "model/uKYTset.h"
#include "platform/FileSettings.h"
#include "platform/LoopScheduler.h"
#include "publish/Publisher.h"
#include "publish/uQzFtp.h"

namespace orvo::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: orvo-cli publish FILE (--config N | --host HOST [--port PORT] --user USER\n"
    "                                [--dir FOLDER]) [OPTIONS]\n"
    "Publishes the hypertext FILE over FTP: the site is exported into TmpExpHtml beside FILE,\n"
    "the server's version page is read, and what changed since that version is sent (the\n"
    "style sheet always), then the new version page. The document file is only read.\n"
    "\n"
    "Server:\n"
    "  --config N           server configuration N of the settings (0 is the first)\n"
    "  --host HOST          the server, with --port (default 21), --user and --dir (the\n"
    "                       remote folder of the site, default /)\n"
    "  --timeout SECONDS    how long the server may stay silent (default 30)\n"
    "\n"
    "Options:\n"
    "  --password-file FILE the password is the first line of FILE\n"
    "  --all                send every item, not only the changed ones\n"
    "  --dry-run            connect and read the server's version, then print what would be\n"
    "                       sent (remote name and size) without sending anything\n"
    "\n"
    "The password is the one a configuration keeps, else it is read from the environment\n"
    "variable ORVO_FTP_PASSWORD or from --password-file, never from the command line. HTML\n"
    "options (pictures in a separate folder, page extension) come from the settings.\n";

struct Options {
    std::string file;
    int config = -1;
    std::string host, user, dir = "/";
    int port = 21;
    int timeout = 30;
    std::string passwordFile;
    bool all = false;
    bool dryRun = false;
};

bool ParseNumber(const std::string& text, long lo, long hi, int& value) {
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || !end || *end != '\0' || n < lo || n > hi) return false;
    value = int(n);
    return true;
}

bool Parse(const std::vector<std::string>& args, Options& o, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--password" || a.rfind("--password=", 0) == 0) {
            error =
                "publish: the password is read from ORVO_FTP_PASSWORD or --password-file, never "
                "from the command line";
            return false;
        } else if (a == "--config" && hasValue) {
            if (!ParseNumber(args[++i], 0, 9999, o.config)) {
                error = "publish: --config takes a configuration number";
                return false;
            }
        } else if (a == "--host" && hasValue) {
            o.host = args[++i];
        } else if (a == "--port" && hasValue) {
            if (!ParseNumber(args[++i], 1, 65535, o.port)) {
                error = "publish: the port must be a number from 1 to 65535";
                return false;
            }
        } else if (a == "--timeout" && hasValue) {
            if (!ParseNumber(args[++i], 1, 86400, o.timeout)) {
                error = "publish: --timeout takes a number of seconds";
                return false;
            }
        } else if (a == "--user" && hasValue) {
            o.user = args[++i];
        } else if (a == "--dir" && hasValue) {
            o.dir = args[++i];
        } else if (a == "--password-file" && hasValue) {
            o.passwordFile = args[++i];
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a.rfind("--", 0) == 0) {
            error = "publish: unknown option or missing value: " + a;
            return false;
        } else if (o.file.empty()) {
            o.file = a;
        } else {
            error = "publish: one FILE only (see orvo-cli publish --help)";
            return false;
        }
    }
    if (o.file.empty()) {
        error = "publish: FILE expected (see orvo-cli publish --help)";
        return false;
    }
    if ((o.config >= 0) == !o.host.empty()) {
        error = "publish: either --config N or --host HOST with --user USER";
        return false;
    }
    if (!o.host.empty() && o.user.empty()) {
        error = "publish: --user USER expected with --host";
        return false;
    }
    return true;
}

std::string Utf8(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

int RunPublish(CliContext& context) {
    Options o;
    std::string error;
    if (!Parse(context.args, o, error)) return FailWith(context, error);

    FileSettings userSettings(FileSettings::DefaultPath(context.environment));
    FtpServerConfig config;
    if (o.config >= 0) {
        PublishConfigurations stored(userSettings);
        if (o.config >= stored.Count())
            return FailWith(
                context, "publish: there is no server configuration " + std::to_string(o.config));
        config = stored.Load(o.config);
    } else {
        config.nomeConf = "orvo-cli";
        config.server = Utf8ToCp1252(o.host);
        config.port = o.port;
        config.timeout = o.timeout;
        config.user = Utf8ToCp1252(o.user);
        config.BaseDir = Utf8ToCp1252(o.dir);
    }
    if (config.pass.empty()) {
        if (!o.passwordFile.empty()) {
            auto bytes = ReadFileBytes(o.passwordFile);
            if (!bytes) return FailWith(context, std::string(kCannotOpenFileText) + o.passwordFile);
            config.pass = bytes->substr(0, bytes->find_first_of("\r\n"));
        } else if (const char* fromEnvironment = std::getenv("ORVO_FTP_PASSWORD")) {
            config.pass = fromEnvironment;
        }
    }
    if (config.pass.empty()) return FailWith(context, kEnterPasswordText);
    // The window works on a copy of the configuration: nothing is written to the settings.
    config.savePass = true;
    MemorySettings settings;
    PublishConfigurations(settings).Save(0, config);

    // The version page names the document by its full path.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(o.file, ec);
    const std::string document = ec ? Utf8ToCp1252(o.file) : NameOfPath(absolute);
    TKYTset set(context.environment, context.messages);
    if (!set.LoadFromFile(document)) return 1;
    TKYTtoHtml html(&set);
    LoadHtmlOptions(userSettings, html);
    TKYTListHtmlToTx list(&html);
    LoopScheduler loop;
    TQzFtpComm comm(loop, loop);
    ObjectHolders holders(set);
    Publisher publisher(set, holders, html, list, comm, settings, context.messages);

    if (Status exported = publisher.ExportSite(); !exported)
        return FailWith(context, exported.failure().text);
    publisher.Start(PublishMode::Publish);
    const int connected = publisher.Connect();
    if (connected != TQzFtpComm::kSuccess) {
        std::string why = publisher.StatusText().empty() ? std::string(kPublishErrorText)
                                                         : publisher.StatusText();
        if (!publisher.Detail().empty()) why += ": " + publisher.Detail();
        return FailWith(context, why);
    }
    context.out << Utf8(publisher.VersionLabel()) << '\n';
    if (o.all) list.SetAllChecked(true);

    if (o.dryRun) {
        for (const PublishTransfer& item : publisher.Plan())
            context.out << "would send " << Utf8(item.remote) << ' ' << item.bytes << '\n';
        (void)comm.RunCloseSession();
        return 0;
    }
    publisher.OnSent = [&context](const PublishTransfer& sent) {
        context.out << "sent " << Utf8(sent.remote) << ' ' << sent.bytes << '\n';
    };
    const int result = publisher.Publish();
    (void)comm.RunCloseSession();
    if (result != TQzFtpComm::kSuccess) {
        std::string why = publisher.StatusText();
        if (!publisher.Detail().empty()) why += ": " + publisher.Detail();
        return FailWith(context, why);
    }
    context.out << Utf8(publisher.StatusText()) << '\n';
    return 0;
}

const CliRegistration kRegistration{
    {"publish", "publishes a hypertext over FTP, sending what changed", kUsage, &RunPublish}};

}  // namespace
}  // namespace orvo::cli
