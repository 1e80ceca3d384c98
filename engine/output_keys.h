// Where a packet's payload goes: its output key. Routed by number (the standard), the key
// is the packet's stream-table slot: every accepted audio packet of a number shares the
// slot's output whatever its coding, and MPEG audio follows the current audio number.
// Routed by sub-stream id (for outputs that other tools read), audio has keys beyond the
// table's 64 slots: one per audio number and source (each private-stream-1 coding, and
// MPEG audio by its stream id), so that two codings that share a number, and each MPEG
// audio stream, are outputs of their own. Video and subpictures keep their slots.
#pragma once

#include "engine/pass_state.h"
#include "engine/stream_slots.h"

namespace tessaly {

enum class Routing { ByNumber, BySubStream };

// The sources of a routed audio key: the five codings of private stream 1 (in the order
// of AudioCoding), then MPEG audio.
constexpr int kAudioSources = 6;
constexpr int kMpegAudioSource = kAudioSources - 1;
constexpr int kAudioNumbers = 16;
constexpr int kFirstRoutedKey = kSlots + 1;
constexpr int kKeys = kSlots + kAudioNumbers * kAudioSources;  // the last key

constexpr int audioSource(AudioCoding coding) {
  return static_cast<int>(coding);
}

// The key of audio stream `number` (0..15) of `source`.
constexpr int routedKey(int number, int source) {
  return kFirstRoutedKey + number * kAudioSources + source;
}

constexpr bool isRoutedKey(int key) {
  return key >= kFirstRoutedKey && key <= kKeys;
}

// The slot whose number a key's stream has: the key itself for a slot, the audio slot of
// the number for a routed key.
constexpr int keySlot(int key) {
  return isRoutedKey(key) ? kAudioSlot + (key - kFirstRoutedKey) / kAudioSources : key;
}

// The source of a routed key.
constexpr int keySource(int key) {
  return (key - kFirstRoutedKey) % kAudioSources;
}

// The output key of a packet whose header was walked; 0 for nowhere.
int routeOf(const PacketStart& packet, Routing routing);

}  // namespace tessaly
