#include "audio_clips.h"

#include <sstream>

namespace tessaly::testing {
namespace {

std::int64_t field(const std::string& text, const std::string& key) {
  const auto at = text.find(key + "=");
  if (at == std::string::npos) return 0;
  return std::stoll(text.substr(at + key.size() + 1));
}

// time_base=N/D of the clip's stream.
std::pair<std::int64_t, std::int64_t> timeBase(std::vector<std::string> args, const TempDir& dir) {
  args.insert(args.begin(),
              {"-v", "error", "-show_entries", "stream=time_base", "-of", "default=nw=1:nk=1"});
  const auto run = runChild(program("ffprobe"), args, dir);
  const auto slash = run.out.find('/');
  return {std::stoll(run.out.substr(0, slash)), std::stoll(run.out.substr(slash + 1))};
}

}  // namespace

void encodeLavfi(const std::string& source, const std::vector<std::string>& output,
                 const TempDir& dir) {
  std::vector<std::string> args{"-v", "error", "-nostdin", "-y",  "-bitexact",
                                "-f", "lavfi", "-i",       source};
  args.insert(args.end(), output.begin(), output.end());
  const auto encoded = runChild(program("ffmpeg"), args, dir);
  EXPECT_EQ(encoded.status, 0) << encoded.err;
}

Clip encodeClip(const std::string& codec, const std::string& format, int channels, double seconds,
                const TempDir& dir, std::vector<std::string> probeOptions) {
  const std::string file = dir.file("clip." + codec);
  encodeLavfi("sine=frequency=440:sample_rate=48000",
              {"-t", std::to_string(seconds), "-ac", std::to_string(channels), "-strict", "-2",
               "-c:a", codec, "-f", format, file},
              dir);
  Clip clip{codec, readFile(file), {}};
  probeOptions.push_back(file);
  const auto [num, den] = timeBase(probeOptions, dir);
  probeOptions.insert(
      probeOptions.begin(),
      {"-v", "error", "-show_entries", "packet=pos,size,duration,flags", "-of", "compact=p=0"});
  const auto probe = runChild(program("ffprobe"), probeOptions, dir);
  std::istringstream lines(probe.out);
  for (std::string line; std::getline(lines, line);) {
    clip.packets.push_back({static_cast<std::uint64_t>(field(line, "pos")),
                            static_cast<std::uint32_t>(field(line, "size")),
                            field(line, "duration") * num, den,
                            line.find("flags=K") != std::string::npos});
  }
  EXPECT_GT(clip.packets.size(), 10u) << codec;
  return clip;
}

Walked walk(AudioCoding coding, const Bytes& bytes, const Feed& feed,
            const std::array<std::uint8_t, 3>& lpcmFormat) {
  FrameList list;
  const auto walker = frameWalker(coding, lpcmFormat, list);
  std::size_t cut = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    if (at % feed.packetBytes == 0) {
      const std::uint64_t n = at / feed.packetBytes;
      walker->packet(at, feed.timed ? std::optional<std::uint64_t>(1000 + n) : std::nullopt);
    }
    const std::size_t packetEnd = (at / feed.packetBytes + 1) * feed.packetBytes;
    const std::size_t run =
        std::min({feed.cuts[cut++ % feed.cuts.size()], packetEnd - at, bytes.size() - at});
    walker->bytes(bytes.data() + at, run);
    at += run;
  }
  walker->finish();
  return {list.frames, walker->stats()};
}

}  // namespace tessaly::testing
