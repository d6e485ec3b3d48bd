// Paths: absolute native paths in memory; relative paths stored in files use "\" separators
// and are read with either separator. A path with a drive letter or a "\\server" share comes
// from another system: it is kept as written (and does not exist here).
#pragma once

#include <QString>

namespace gs {

// A drive letter with colon, or a network share ("\\server" or "//server").
bool HasDrivePart(QStringView path);

// name unchanged when empty or with a drive part; otherwise the folder of baseFile (the
// text up to its last separator) joined with name and normalised. With an empty base the
// name is expanded against the current folder.
QString ExpandRelative(const QString& baseFile, const QString& name);

// The stored form of name relative to baseFolder, "..\" steps where needed. name is returned
// unchanged when it is empty, when the base is empty, or when the two lie on different drives.
QString MakeRelative(const QString& baseFolder, const QString& name);

// Both paths on one drive. Two native absolute paths always are.
bool SameDrive(const QString& a, const QString& b);

// Path pieces that treat "/" and "\" alike.
QString ExtractFileName(const QString& path);      // without folder
QString ExtractFileDir(const QString& path);       // the folder with its trailing separator
QString ChangeFileExt(const QString& path, const QString& ext);
QString FileNameWithoutExt(const QString& path);   // without folder and extension

// Path equality and lookups follow the file system: case-sensitive here.
bool SamePath(const QString& a, const QString& b);

} // namespace gs
