// Writes a folder as a UDF 2.50 image shaped as pressed HD DVDs are: one read-only
// partition holding the files' data, and inside it a metadata partition (its metadata file
// mirrored) holding the file set, the folders and every file entry. Test-only: of Debian's
// tools, mkudffs writes UDF 2.50 only with a virtual allocation table and no files,
// udfclient writes files as UDF 2.01, genisoimage as UDF 1.02; none writes a metadata
// partition.
#pragma once

#include <string>

namespace tessaly::tools {

// Writes `folder`'s regular files and folders, each folder's entries sorted by name, into
// the new file `image`; the same folder always gives the same bytes. Names must be ASCII.
// Throws std::runtime_error (and std::filesystem errors) when it cannot.
void writeUdfImage(const std::string& folder, const std::string& image,
                   const std::string& label = "TESSALY_SAMPLE");

}  // namespace tessaly::tools
