// Text between the core's UTF-8 strings and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace rivulet {

/// The core's UTF-8 text as a Qt string.
inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace rivulet
