// orvo: the desktop program. Its command line is the one the main window's command flow reads.
#include <QApplication>
#include <QIcon>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Environment.h"
#include "platform/FileSettings.h"
#include "platform/PosixShell.h"
#include "ui/app/MainWindow.h"
#include "ui/app/QtTranslations.h"
#include "ui/media/QtMediaPlayer.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvo"));
    QApplication::setWindowIcon(orvo::ProgramIcon());
    orvo::InstallQtTranslations(application);  // without them Qt's own texts stay English
    orvo::InstallQtMediaPlayer();              // the pages' sounds and videos

    orvo::SystemEnvironment environment;
    orvo::FileSettings settings(orvo::FileSettings::DefaultPath(environment));
    orvo::PosixShell shell;

    std::vector<std::string> arguments;
    const QStringList qtArguments = QApplication::arguments();
    for (qsizetype i = 1; i < qtArguments.size(); ++i) {
        arguments.push_back(qtArguments[i].toStdString());  // the bytes on disk
    }
    orvo::MainWindowOptions options;
    options.programPath = QApplication::applicationFilePath().toStdString();
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    options.desktopDataHome =
        dataHome && *dataHome
            ? std::filesystem::path(dataHome)
            : std::filesystem::path(std::getenv("HOME") ? std::getenv("HOME") : "/tmp") / ".local" /
                  "share";
    options.startWindows = true;
    orvo::MainWindow window(environment, settings, shell, options);
    window.Start(orvo::ParseCommandLine(arguments, [](const std::filesystem::path& file) {
        std::error_code error;
        return std::filesystem::exists(file, error);
    }));
    return application.exec();
}
