// The batch engine reports why a row failed in English, for the command
// line; the dialog shows the same reasons in Chinese.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

// The reason in Chinese where it is a known one, otherwise as the engine gave it.
QString BatchReasonText(const std::string& reason);
