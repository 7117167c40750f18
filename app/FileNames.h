// File names between the file system's bytes and the window's text.
#pragma once

#include <QFile>
#include <QString>
#include <string>

inline std::string FileSystemName(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

inline QString DisplayName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }
