// The volume through libudfread, over the image's own InputFile. libudfread bounds its
// reads by what it parses, but not the work a hostile image asks of it: a volume
// descriptor pointer or an allocation extent that points at itself makes it read the same
// block forever, and a folder's entries are taken as long as the image says. So every read
// of the file system's own structures (not of a file's data) is counted, and past the
// allowed bytes the reads fail, which ends libudfread's loop; the image is then refused
// with that reason. The files' data is checked against the image's size before a file is
// handed out, since libudfread reads blocks its extents do not record as zeros.
#include <udfread/blockinput.h>
#include <udfread/udfread.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "disc_image/image_path.h"
#include "disc_image/udf_volume.h"

namespace tessaly {
namespace {

constexpr std::int64_t kBlock = UDF_BLOCK_SIZE;

// The image as libudfread reads it: whole blocks, counted unless a file's data is read.
struct BlockInput {
  udfread_block_input base{};  // first member: libudfread hands its address back
  InputFile* image = nullptr;
  std::int64_t blocks = 0;  // whole blocks in the image
  std::int64_t budget = 0;  // blocks of structures still allowed
  bool readingData = false;
  bool pastEnd = false;    // a read asked for blocks beyond the image's end
  bool exhausted = false;  // the budget ran out
  std::string failure;     // the detail of the last failed read

  static BlockInput& of(udfread_block_input* input) {
    return *reinterpret_cast<BlockInput*>(input);
  }
};

int readBlocks(udfread_block_input* input, std::uint32_t lba, void* buffer, std::uint32_t count,
               int /*flags*/) {
  BlockInput& self = BlockInput::of(input);
  if (!self.readingData) {
    if (self.budget < count) {
      self.exhausted = true;
      return -1;
    }
    self.budget -= count;
  }
  const std::int64_t available = std::clamp<std::int64_t>(self.blocks - lba, 0, count);
  if (available < count) self.pastEnd = true;
  if (available == 0) return -1;
  try {
    const auto wanted = static_cast<std::size_t>(available * kBlock);
    const std::size_t got =
        self.image->readAt(lba * kBlock, static_cast<std::uint8_t*>(buffer), wanted);
    if (got < wanted) self.pastEnd = true;  // the image shrank since it was opened
    return got < kBlock ? -1 : static_cast<int>(got / kBlock);
  } catch (const StreamError& error) {
    self.failure = error.detail();
    return -1;
  }
}

std::uint32_t imageBlocks(udfread_block_input* input) {
  return static_cast<std::uint32_t>(std::min<std::int64_t>(
      BlockInput::of(input).blocks, std::numeric_limits<std::uint32_t>::max()));
}

// ECMA-167 2/8.3: a UDF volume's recognition sequence, from byte 32768, holds an NSR
// descriptor among the other standards' descriptors (an ISO 9660 bridge's CD001 first).
bool hasNsrDescriptor(InputFile& image) {
  constexpr std::array<std::string_view, 7> kKnown = {"BEA01", "NSR02", "NSR03", "TEA01",
                                                      "BOOT2", "CD001", "CDW02"};
  std::array<std::uint8_t, 7> head{};
  for (std::int64_t block = 16; block < 16 + 64; ++block) {
    if (image.readAt(block * kBlock, head.data(), head.size()) < head.size()) return false;
    const std::string_view id(reinterpret_cast<const char*>(head.data()) + 1, 5);
    if (id == "NSR02" || id == "NSR03") return true;
    if (std::find(kKnown.begin(), kKnown.end(), id) == kKnown.end()) return false;
  }
  return false;
}

struct Closer {
  void operator()(udfread* udf) const { udfread_close(udf); }
  void operator()(UDFDIR* folder) const { udfread_closedir(folder); }
};
using Handle = std::unique_ptr<udfread, Closer>;
using Folder = std::unique_ptr<UDFDIR, Closer>;

// The open volume, shared by the volume and every file open in it.
class Reader {
 public:
  Reader(std::shared_ptr<InputFile> image, std::int64_t structureBytes) : image_(std::move(image)) {
    allow(structureBytes);
    input_.base.read = readBlocks;
    input_.base.size = imageBlocks;
    input_.image = image_.get();
    input_.blocks = image_->size() / kBlock;
    if (!hasNsrDescriptor(*image_)) throw refusal("It holds no UDF file system.");
    if (!udf_ || udfread_open_input(udf_.get(), &input_.base) < 0) {
      throw refusal(input_.pastEnd ? truncated() : "Its UDF file system cannot be read.");
    }
  }

  void allow(std::int64_t structureBytes) {
    allowed_ = structureBytes;
    input_.budget = structureBytes / kBlock;
    input_.exhausted = false;
  }
  udfread* udf() { return udf_.get(); }
  BlockInput& input() { return input_; }
  std::int64_t imageBytes() const { return image_->size(); }

  // The refusal of the image: the structure budget's reason when it ran out, else `reason`.
  Error refusal(const std::string& reason) const {
    if (!input_.exhausted) return imageError(image_->path(), reason);
    return imageError(image_->path(), "Its file system asks for more than " +
                                          std::to_string(allowed_ >> 20) +
                                          " MiB of descriptors and folders: a chain of them "
                                          "may loop.");
  }
  std::string truncated() const {
    return "It is truncated: its file system reaches past its " + std::to_string(image_->size()) +
           " bytes.";
  }

 private:
  std::shared_ptr<InputFile> image_;
  BlockInput input_;
  std::int64_t allowed_ = 0;
  Handle udf_{udfread_init()};
};

// The folder that the first `count` names lead to.
Folder openFolder(Reader& reader, const std::vector<std::string>& names, std::size_t count) {
  Folder folder(udfread_opendir(reader.udf(), "/"));
  for (std::size_t i = 0; folder && i < count; ++i) {
    folder.reset(udfread_opendir_at(folder.get(), names[i].c_str()));
  }
  if (!folder) {
    throw reader.refusal("Its folder " + insidePath(std::span(names).first(count)) +
                         " cannot be read.");
  }
  return folder;
}

class LibudfreadFile final : public UdfFile {
 public:
  LibudfreadFile(std::shared_ptr<Reader> reader, UDFFILE* file, std::string shown)
      : reader_(std::move(reader)), file_(file), shown_(std::move(shown)) {}
  ~LibudfreadFile() override { udfread_file_close(file_); }
  LibudfreadFile(const LibudfreadFile&) = delete;
  LibudfreadFile& operator=(const LibudfreadFile&) = delete;

  std::int64_t size() const override { return udfread_file_size(file_); }

  std::size_t read(std::uint8_t* buffer, std::size_t size) override {
    BlockInput& input = reader_->input();
    input.pastEnd = false;
    input.failure.clear();
    input.readingData = true;
    const ssize_t got = udfread_file_read(file_, buffer, size);
    input.readingData = false;
    if (got >= 0) return static_cast<std::size_t>(got);
    throw readError(shown_, !input.failure.empty() ? input.failure
                            : input.pastEnd        ? "the image ends before the file"
                                                   : "its data cannot be read from the image");
  }

 private:
  std::shared_ptr<Reader> reader_;
  UDFFILE* file_;
  std::string shown_;
};

class LibudfreadVolume final : public UdfVolume {
 public:
  LibudfreadVolume(std::shared_ptr<InputFile> image, std::int64_t structureBytes)
      : reader_(std::make_shared<Reader>(std::move(image), structureBytes)) {}

  void allowStructureReads(std::int64_t bytes) override { reader_->allow(bytes); }

  std::vector<VolumeEntry> list(const std::vector<std::string>& names) override {
    const Folder folder = openFolder(*reader_, names, names.size());
    std::vector<VolumeEntry> entries;
    udfread_dirent entry{};
    while (udfread_readdir(folder.get(), &entry) != nullptr) {
      const std::string_view name = entry.d_name;
      if (name == "." || name == "..") continue;
      entries.push_back({std::string(name), entry.d_type == UDF_DT_DIR});
    }
    return entries;
  }

  std::unique_ptr<UdfFile> open(const std::vector<std::string>& names,
                                const std::string& shown) override {
    const Folder folder = openFolder(*reader_, names, names.size() - 1);
    UDFFILE* handle = udfread_file_openat(folder.get(), names.back().c_str());
    if (handle == nullptr) {
      throw reader_->refusal("Its entry for " + insidePath(names) + " cannot be read.");
    }
    auto file = std::make_unique<LibudfreadFile>(reader_, handle, shown);
    checkData(*file, handle, insidePath(names));
    return file;
  }

 private:
  // The file's last byte must lie in a recorded block inside the image: libudfread gives
  // zeros for blocks its extents do not record. Files under a block may sit in their
  // entry, where no block address maps them.
  void checkData(const UdfFile& file, UDFFILE* handle, const std::string& inside) const {
    const std::int64_t size = file.size();
    if (size < 0 || (size - 1) / kBlock > std::numeric_limits<std::uint32_t>::max()) {
      throw reader_->refusal(inside + " claims " + std::to_string(size) +
                             " bytes, more than a disc holds.");
    }
    if (size < kBlock) return;
    const std::int64_t last =
        udfread_file_lba(handle, static_cast<std::uint32_t>((size - 1) / kBlock));
    if (last == 0) {
      throw reader_->refusal(inside + " has no recorded data for its " + std::to_string(size) +
                             " bytes.");
    }
    const std::int64_t image = reader_->imageBytes();
    if ((last + 1) * kBlock > image) {
      throw reader_->refusal("It is truncated: " + inside + " ends at byte " +
                             std::to_string((last + 1) * kBlock) + ", past the image's " +
                             std::to_string(image) + " bytes.");
    }
  }

  std::shared_ptr<Reader> reader_;
};

}  // namespace

std::unique_ptr<UdfVolume> openUdfVolume(std::shared_ptr<InputFile> image,
                                         std::int64_t structureBytes) {
  return std::make_unique<LibudfreadVolume>(std::move(image), structureBytes);
}

}  // namespace tessaly
