#include "tools/udf_image.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "tools/byte_sink.h"
#include "tools/udf_descriptors.h"
#include "tools/udf_volume_area.h"

namespace tessaly::tools {
namespace {

namespace fs = std::filesystem;
using udf::Bytes;
using udf::kBlock;
using udf::Tag;

constexpr std::uint32_t kMetadataStart = udf::kAllocationUnit;  // partition block of the metadata
constexpr std::uint32_t kMaxExtent =
    (1u << 30) - kBlock;                      // an extent's length: 30 bits, whole blocks
constexpr std::uint64_t kFirstUniqueId = 16;  // 1 to 15 are reserved (UDF 3.2.1.1)
constexpr std::size_t kEntryHead = 216;       // an extended file entry up to its descriptors
constexpr std::uint8_t kFileTypeFolder = 4, kFileTypeFile = 5;
constexpr std::uint8_t kFileTypeMetadata = 250, kFileTypeMirror = 251;
constexpr std::uint16_t kShortAds = 0, kLongAds = 1;  // ICB tag flags (ECMA-167 4/14.6.8)
constexpr std::uint32_t kReadable = 0x1084, kListable = 0x14A5;  // r for all; r-x for all
constexpr std::uint8_t kIsFolder = 0x02, kIsParent = 0x08;       // FID characteristics

struct Node {
  std::string name;  // empty for the root
  fs::path source;
  bool folder = false;
  std::uint64_t size = 0;  // files: bytes; folders: bytes of their identifiers
  std::vector<Node> children;
  std::uint64_t uniqueId = 0;
  std::uint32_t entry = 0;  // the file entry's block in the metadata partition
  std::uint32_t first = 0;  // folders: their identifiers' first metadata block; files: data's
};

std::uint32_t blocksOf(std::uint64_t bytes) {
  return static_cast<std::uint32_t>((bytes + kBlock - 1) / kBlock);
}

std::size_t identifierSize(const std::string& name) {
  return (38 + (name.empty() ? 0 : name.size() + 1) + 3) / 4 * 4;  // padded to 4 bytes
}

Node scan(const fs::path& path, std::string name) {
  if (name.size() > 254 || std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) {
    throw std::runtime_error("not an ASCII name of at most 254 characters: " + name);
  }
  Node node;
  node.name = std::move(name);
  node.source = path;
  node.folder = fs::is_directory(path);
  if (!node.folder) {
    node.size = fs::file_size(path);
    return node;
  }
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(path)) {
    if (entry.is_regular_file() || entry.is_directory()) paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  node.size = identifierSize("");
  for (const auto& child : paths) {
    node.children.push_back(scan(child, child.filename().string()));
    node.size += identifierSize(node.children.back().name);
  }
  return node;
}

// Where everything goes: the metadata partition (file set, then each entry followed by a
// folder's identifiers) and the data after the metadata and its mirror.
class Layout {
 public:
  explicit Layout(Node& root) {
    placeEntries(root);
    facts.metadataBlocks =
        (metadata_ + udf::kAllocationUnit - 1) / udf::kAllocationUnit * udf::kAllocationUnit;
    data_ = kMetadataStart + 2 * facts.metadataBlocks;
    placeData(root);
    facts.partitionBlocks = data_;
    facts.nextUniqueId = nextId_;
  }

  udf::VolumeFacts facts;

 private:
  void placeEntries(Node& node) {
    node.entry = metadata_++;
    if (!node.folder) {
      ++facts.files;
      return;
    }
    ++facts.folders;
    node.first = metadata_;
    metadata_ += blocksOf(node.size);
    for (Node& child : node.children) {
      child.uniqueId = nextId_++;
      placeEntries(child);
    }
  }
  void placeData(Node& node) {
    if (!node.folder) {
      node.first = data_;
      data_ += blocksOf(node.size);
    }
    for (Node& child : node.children) placeData(child);
  }

  std::uint32_t metadata_ = 2;  // the file set descriptor and its terminator first
  std::uint32_t data_ = 0;
  std::uint64_t nextId_ = kFirstUniqueId;
};

struct EntryFacts {
  std::uint32_t location;  // the block the entry is recorded in, in its partition
  std::uint8_t fileType;
  std::uint64_t length;
  std::uint64_t uniqueId;
  std::uint16_t links;
  std::uint32_t permissions;
};

// An extended file entry (ECMA-167 4/14.17) with the allocation descriptors already at
// kEntryHead, `adBytes` of them.
void fileEntry(Bytes& bytes, std::size_t at, const EntryFacts& e, std::uint16_t adType,
               std::size_t adBytes) {
  bytes.u16(at + 20, 4);  // strategy 4: one direct entry
  bytes.u16(at + 24, 1);
  bytes.u8(at + 27, e.fileType);
  bytes.u16(at + 34, adType);
  bytes.u32(at + 44, e.permissions);
  bytes.u16(at + 48, e.links);
  bytes.u64(at + 56, e.length);
  bytes.u64(at + 64, e.length);
  bytes.u64(at + 72, blocksOf(e.length));
  for (std::size_t time = 80; time <= 116; time += 12) bytes.timestamp(at + time);
  bytes.u32(at + 128, 1);  // checkpoint
  bytes.entity(at + 168, "*Tessaly test image", false);
  bytes.u64(at + 200, e.uniqueId);
  bytes.u32(at + 212, static_cast<std::uint32_t>(adBytes));
  bytes.tag(at, Tag::ExtendedFileEntry, e.location, kEntryHead + adBytes);
}

// The metadata file or its mirror: one short extent of the whole metadata partition.
void metadataFile(Bytes& head, std::uint32_t block, std::uint8_t type, std::uint32_t start,
                  std::uint32_t blocks) {
  const std::size_t at = block * kBlock;
  head.u32(at + kEntryHead, blocks * kBlock);
  head.u32(at + kEntryHead + 4, start);
  fileEntry(head, at, {block, type, std::uint64_t{blocks} * kBlock, 0, 1, kReadable}, kShortAds, 8);
}

void identifier(Bytes& meta, std::size_t at, std::uint8_t characteristics, const Node& target,
                const std::string& name) {
  meta.u16(at + 16, 1);  // file version
  meta.u8(at + 18, characteristics);
  meta.u8(at + 19, static_cast<std::uint8_t>(name.empty() ? 0 : name.size() + 1));
  meta.longAd(at + 20, kBlock, target.entry, udf::kMetadata,
              static_cast<std::uint32_t>(target.uniqueId));
  if (!name.empty()) {
    meta.u8(at + 38, 8);  // 8-bit compressed unicode
    meta.text(at + 39, name);
  }
  const auto location = static_cast<std::uint32_t>(at / kBlock);
  meta.tag(at, Tag::FileIdentifier, location, 38 + (name.empty() ? 0 : name.size() + 1));
}

void folderEntries(Bytes& meta, const Node& folder, const Node& parent) {
  std::size_t at = folder.first * kBlock;
  identifier(meta, at, kIsFolder | kIsParent, parent, "");
  at += identifierSize("");
  std::uint16_t subfolders = 0;
  for (const Node& child : folder.children) {
    identifier(meta, at, child.folder ? kIsFolder : 0, child, child.name);
    at += identifierSize(child.name);
    subfolders += child.folder ? 1 : 0;
  }
  const std::size_t entry = folder.entry * kBlock;
  meta.longAd(entry + kEntryHead, static_cast<std::uint32_t>(folder.size), folder.first,
              udf::kMetadata);
  fileEntry(meta, entry,
            {folder.entry, kFileTypeFolder, folder.size, folder.uniqueId,
             static_cast<std::uint16_t>(1 + subfolders), kListable},
            kLongAds, 16);
}

// A file's data in extents of at most kMaxExtent bytes, as long descriptors.
void fileEntry(Bytes& meta, const Node& file) {
  const std::size_t at = file.entry * kBlock;
  std::size_t adBytes = 0;
  for (std::uint64_t done = 0; done < file.size; done += kMaxExtent) {
    if (kEntryHead + adBytes + 16 > kBlock) throw std::runtime_error("file too large");
    const auto length =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kMaxExtent, file.size - done));
    meta.longAd(at + kEntryHead + adBytes, length, file.first + blocksOf(done), udf::kPhysical);
    adBytes += 16;
  }
  fileEntry(meta, at, {file.entry, kFileTypeFile, file.size, file.uniqueId, 1, kReadable}, kLongAds,
            adBytes);
}

void entries(Bytes& meta, const Node& node, const Node& parent) {
  if (!node.folder) return fileEntry(meta, node);
  folderEntries(meta, node, parent);
  for (const Node& child : node.children) entries(meta, child, node);
}

// The metadata partition: file set descriptor (ECMA-167 4/14.1), its terminator, entries.
Bytes metadata(const Node& root, const udf::VolumeFacts& facts) {
  Bytes meta(facts.metadataBlocks * kBlock);
  meta.timestamp(16);
  meta.u16(28, 3);  // interchange level
  meta.u16(30, 3);
  meta.u32(32, 1);  // CS0 only
  meta.u32(36, 1);
  meta.charset(48);
  meta.dstring(112, 128, facts.label);
  meta.charset(240);
  meta.dstring(304, 32, facts.label);
  meta.longAd(400, kBlock, root.entry, udf::kMetadata);
  meta.entity(416, "*OSTA UDF Compliant", true);
  meta.tag(0, Tag::FileSet, 0, 512);
  meta.tag(kBlock, Tag::Terminating, 1, 512);
  entries(meta, root, root);
  return meta;
}

void putData(FileSink& sink, const Node& node) {
  if (node.folder) {
    for (const Node& child : node.children) putData(sink, child);
    return;
  }
  std::ifstream in(node.source, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::uint64_t copied = 0;
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
    sink.put(reinterpret_cast<const std::uint8_t*>(chunk.data()),
             static_cast<std::size_t>(in.gcount()));
    copied += static_cast<std::uint64_t>(in.gcount());
  }
  if (copied != node.size) throw std::runtime_error("cannot read " + node.source.string());
  const std::vector<std::uint8_t> padding(blocksOf(node.size) * kBlock - node.size);
  sink.put(padding.data(), padding.size());
}

}  // namespace

void writeUdfImage(const std::string& folder, const std::string& image, const std::string& label) {
  Node root = scan(folder, "");
  const Layout layout(root);
  udf::VolumeFacts facts = layout.facts;
  facts.label = label;
  Bytes head(kMetadataStart * kBlock);
  metadataFile(head, udf::kMetadataFileEntry, kFileTypeMetadata, kMetadataStart,
               facts.metadataBlocks);
  metadataFile(head, udf::kMirrorFileEntry, kFileTypeMirror, kMetadataStart + facts.metadataBlocks,
               facts.metadataBlocks);
  Bytes meta = metadata(root, facts);

  FileSink sink(image);
  Bytes area = udf::volumeArea(facts);
  for (const Bytes* part : {&area, &head, &meta, &meta})
    sink.put(part->bytes().data(), part->size());
  putData(sink, root);
  const Bytes last = udf::anchorBlock(udf::kPartitionStart + facts.partitionBlocks);
  sink.put(last.bytes().data(), last.size());
  sink.close();
}

}  // namespace tessaly::tools
