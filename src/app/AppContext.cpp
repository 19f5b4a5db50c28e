#include "app/AppContext.h"

#include "colors/ColorFileLocation.h"

#include <QCoreApplication>

namespace corvana {

std::string ProgramColorFilePath() {
    ColorFileLocation location;
    location.programDir = QCoreApplication::applicationDirPath().toStdString();
    location.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    location.home = qEnvironmentVariable("HOME").toStdString();
    return location.Path();
}

} // namespace corvana
