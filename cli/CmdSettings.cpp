// orvo-cli settings: lists, reads and writes the settings store.
#include <ostream>

#include "CliCommand.h"
#include "base/Cp1252.h"
#include "platform/FileSettings.h"

namespace orvo::cli {
namespace {

using namespace orvo::literals;

// "ftpnet/0/server" -> group "ftpnet\\0", value "server".
void SplitKey(std::string_view key, std::string& group, std::string& name) {
    const std::size_t cut = key.rfind('/');
    if (cut == std::string_view::npos) {
        group.clear();
        name = std::string(key);
        return;
    }
    group = std::string(key.substr(0, cut));
    for (char& c : group)
        if (c == '/') c = '\\';
    name = std::string(key.substr(cut + 1));
}

void List(const ISettings& settings, const std::string& group, const std::string& shown,
          std::ostream& out) {
    for (const std::string& name : settings.ValueNames(group))
        out << Cp1252ToUtf8(shown + name) << '=' << Cp1252ToUtf8(settings.ReadString(group, name))
            << '\n';
    for (const std::string& child : settings.SubKeys(group))
        List(settings, group.empty() ? child : group + "\\" + child, shown + child + "/", out);
}

int RunSettings(CliContext& context) {
    if (context.args.size() > 2) return FailWith(context, "settings takes at most KEY and VALUE");
    FileSettings settings(FileSettings::DefaultPath(context.environment));
    if (context.args.empty()) {
        List(settings, "", "", context.out);
        return 0;
    }
    const std::string key = Utf8ToCp1252(context.args[0]);
    std::string group, name;
    SplitKey(key, group, name);
    if (context.args.size() == 1) {
        if (name.empty()) {  // "ftpnet/": everything below the group
            if (!settings.KeyExists(group))
                return FailWith(context,
                                "Gruppo non presente nelle impostazioni: "_cp.data() + key);
            List(settings, group, key, context.out);
            return 0;
        }
        const auto value = settings.Read(group, name);
        if (!value) return FailWith(context, "Valore non presente nelle impostazioni: " + key);
        context.out << Cp1252ToUtf8(*value) << '\n';
        return 0;
    }
    if (name.empty()) return FailWith(context, "Manca il nome del valore: " + key);
    settings.Write(group, name, Utf8ToCp1252(context.args[1]));
    if (Status written = settings.LastFailure(); !written)
        return FailWith(context, written.failure().text);
    return 0;
}

const CliRegistration kRegistration{
    {"settings", "lists, reads or writes the program's settings",
     "Usage: orvo-cli settings [KEY [VALUE]]\n"
     "Without arguments, lists every value of the settings as KEY=VALUE lines.\n"
     "With KEY, prints that value; with KEY ending in \"/\", lists that group.\n"
     "With KEY and VALUE, writes the value.\n"
     "KEY is the path below the program's key with \"/\" between groups, the value's name\n"
     "last: options/Bak, ftpnet/0/server. Names are compared without regard to case.\n"
     "The settings live in $ORVO_HOME/settings.reg, else $XDG_CONFIG_HOME/orvo/settings.reg.\n",
     &RunSettings}};

}  // namespace
}  // namespace orvo::cli
