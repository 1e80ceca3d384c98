// Paths between the toolkit and the core. The core keeps a path as the bytes the file
// system has, which need not be UTF-8 (a folder named on a Latin-1 system); Qt's strings
// hold Unicode and turn such bytes into U+FFFD. Paths therefore cross as file URLs, whose
// percent-encoding carries any byte, and as the file system's encoding otherwise.
#pragma once

#include <QUrl>
#include <string>

namespace tessaly::app {

// The bytes of a local file URL's path.
std::string localPath(const QUrl& url);
// A local file URL naming these bytes; a relative path is taken from the current folder.
QUrl fileUrl(const std::string& path);
// A path typed or pasted into a path field, as a full path: the blanks around it dropped,
// a file URL (as file managers copy a file) taken as its path, a leading "~" as the home
// folder, a relative path from the current folder. Empty when nothing was typed.
std::string typedPath(const QString& text);

}  // namespace tessaly::app
