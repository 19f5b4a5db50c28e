#include "app/AppContext.h"

#include "app/Pictures.h"
#include "colors/ColorFileLocation.h"
#include "corvana/Version.h"

#include <QApplication>
#include <QStandardPaths>

namespace corvana {

void ApplyProgramIdentity() {
    QApplication::setApplicationName(QString::fromUtf8(version::ProductName));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(version::AppId));
    QApplication::setWindowIcon(ProgramIcon());
}

std::string ProgramColorFilePath() {
    return ColorFileLocation{QCoreApplication::applicationDirPath().toStdString(),
                             qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(),
                             qEnvironmentVariable("HOME").toStdString()}
        .Path();
}

std::string ProgramSettingsPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder.isEmpty() ? std::string()
                            : (folder + QStringLiteral("/corvana/settings.ini")).toStdString();
}

std::string ProgramGameFilePath() {
    return GameFilePath(qEnvironmentVariable("XDG_STATE_HOME").toStdString(),
                        qEnvironmentVariable("HOME").toStdString());
}

std::string ProgramRecordsFilePath() {
    return RecordsFilePath(qEnvironmentVariable("XDG_DATA_HOME").toStdString(),
                           qEnvironmentVariable("HOME").toStdString());
}

} // namespace corvana
