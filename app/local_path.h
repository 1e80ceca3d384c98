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

}  // namespace tessaly::app
