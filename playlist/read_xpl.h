// "Read XPL" as a request and its result: the playlist, one tag per memo line, its media
// attribute lists, the tree of the title that plays the chosen EVO file and the labels of
// that title's tracks, and the playlist's facts, all from one read of the file. The facts
// alone come from readPlaylist().
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "engine/stream_slots.h"
#include "platform/job_observer.h"
#include "playlist/attr_lists.h"
#include "playlist/title_facts.h"
#include "playlist/xpl_tree.h"

namespace tessaly {

class PassInput;

// A stream box that the title's track labels: caption (and, for audio and subtitles, hint).
struct BoxLabel {
  StreamGroup group = StreamGroup::Video;
  int number = 0;  // the box's number, as the EVO counts its streams
  std::string label;
};

struct XplRequest {
  std::string file;            // the playlist
  std::string baseName;        // of the chosen EVO file, whose title is looked for; may be empty
  AttrLists attributes;        // as the last run left them
  std::vector<TreeNode> tree;  // as it stands: kept when no title plays the EVO file
  SlotTable table;             // as it stands: its slots 1..48 become the title's marks
};

struct XplResult {
  JobEnd end = JobEnd::Complete;
  std::exception_ptr error;       // what ended a failed run
  bool opened = false;            // the playlist was opened: what follows is the run's
  std::vector<std::string> memo;  // the tags, one a line (at most 65,536)
  std::vector<TreeNode> tree;     // with the node "Titles" after the title's nodes
  std::vector<BoxLabel> labels;   // in the order labelled
  AttrLists attributes;
  SlotTable table;
  PlaylistFacts facts;
};

// Opens the playlist ("Open NAME", "Filesize: N bytes"), reads it in 32 KiB chunks (the
// bytes read so far in status panel 1), and runs the title phase. Never throws: a
// failure is the result's, with what the run did before it. The front end ends the job
// (endJob) once it has shown the result.
XplResult readXpl(const XplRequest& request, JobObserver& observer);

// Gives every tag text of the playlist at `path` to `onTag`, in file order, as the scanner
// cuts them; throws "Cannot open file ..." (also for a playlist over 16 MiB) and "Stream
// read error".
void scanPlaylist(const std::string& path, const std::function<void(const std::string&)>& onTag);
// The same for a playlist open from its start (a file inside a disc image).
void scanPlaylist(PassInput& playlist, const std::function<void(const std::string&)>& onTag);

// The facts of the playlist at `path`, for the title that plays the EVO file of base name
// `baseName` when given; throws "Cannot open file ..." (also for a playlist over 16 MiB)
// and "Stream read error".
PlaylistFacts readPlaylist(const std::string& path, const std::string& baseName = "");

}  // namespace tessaly
