#include "app/errorlog.h"

#include <fstream>
#include <iostream>

#include "core/formatsettings.h"

namespace contado {

std::string TErrorLog::PathFor(const std::string& applicationDirectory) {
    return applicationDirectory + "/" + kFileName;
}

std::string TErrorLog::LineFor(TDateTime moment, const std::string& user, const std::string& message) {
    return DateToStr(moment) + "," + TimeToStr(moment) + "," + user + "," + message + "\r\n";
}

void TErrorLog::Append(const std::string& applicationDirectory, const std::string& user,
                       const std::string& message) {
    if (applicationDirectory.empty()) {
        std::string line = LineFor(Now(), user, message);
        line.resize(line.size() - 2);
        std::cerr << kFileName << ": " << line << std::endl;
        return;
    }
    std::ofstream log(PathFor(applicationDirectory), std::ios::binary | std::ios::app);
    if (log) {
        log << LineFor(Now(), user, message);
    }
}

}  // namespace contado
