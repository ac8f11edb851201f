#include "sprites/wave_list.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "sprites/errors.h"
#include "sprites/image_list.h"

namespace pondaro {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw EDataFileError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(f);
  const int err = errno;
  std::fclose(f);
  // A directory opens fine on Linux and fails on the first read (EISDIR).
  if (failed) throw EDataFileError(path + ": cannot read (" + std::strerror(err) + ")");
  return bytes;
}

// ---- TWaveCollectionItem ----

VoiceSettings TWaveCollectionItem::Settings() const {
  VoiceSettings s;
  s.Looped = Looped;
  s.Frequency = Frequency;
  s.Pan = Pan;
  s.Volume = Volume;
  return s;
}

void TWaveCollectionItem::Play(bool wait) {
  if (!output_ || !output_->Initialized() || sample_ == 0) return;

  if (Looped) {
    // One buffer, restarted from the beginning on every play.
    if (primary_ == 0) primary_ = output_->CreateVoice(sample_);
    if (primary_ == 0) return;
    output_->Stop(primary_);
    output_->Start(primary_, Settings());
    return;
  }

  auto freeVoice = std::find_if(extra_.begin(), extra_.end(),
                                [this](VoiceId v) { return !output_->IsPlaying(v); });
  VoiceId voice;
  if (freeVoice != extra_.end()) {
    voice = *freeVoice;
  } else if (MaxPlayingCount <= 0 || static_cast<int>(extra_.size()) < MaxPlayingCount) {
    voice = output_->CreateVoice(sample_);
    if (voice == 0) return;
    extra_.push_back(voice);
  } else {
    // At the limit: the oldest copy starts over and becomes the newest.
    voice = extra_.front();
    extra_.erase(extra_.begin());
    extra_.push_back(voice);
  }
  output_->Start(voice, Settings());

  if (wait && clock_)
    while (output_->IsPlaying(voice)) clock_->Sleep(10);
}

void TWaveCollectionItem::Stop() {
  if (!output_ || !output_->Initialized()) return;
  if (primary_ != 0) output_->Stop(primary_);
  for (VoiceId v : extra_) output_->Stop(v);
}

void TWaveCollectionItem::Release() {
  if (!output_) return;
  if (primary_ != 0) output_->FreeVoice(primary_);
  for (VoiceId v : extra_) output_->FreeVoice(v);
  if (sample_ != 0) output_->FreeSample(sample_);
  primary_ = 0;
  extra_.clear();
  sample_ = 0;
}

// ---- TWaveCollection ----

TWaveCollection::TWaveCollection() = default;

TWaveCollection::~TWaveCollection() { Clear(); }

void TWaveCollection::LoadFromFile(const std::string& path, SoundOutput& output, Clock& clock) {
  Clear();
  LoadFromBytes(ReadWholeFile(path), output, clock, path);
}

void TWaveCollection::LoadFromBytes(const std::vector<uint8_t>& bytes, SoundOutput& output, Clock& clock,
                                    const std::string& fileName) {
  Clear();
  std::vector<CollectionRecord> records;
  std::string error;
  if (!ReadCollection(bytes, CollectionKind::Sounds, records, error))
    throw EDataFileError(fileName + ": " + error);
  LoadFromRecords(records, output, clock, fileName);
}

void TWaveCollection::LoadFromRecords(const std::vector<CollectionRecord>& records, SoundOutput& output,
                                      Clock& clock, const std::string& fileName) {
  Clear();
  for (size_t i = 0; i < records.size(); ++i) {
    auto& item = Add(records[i], output, clock);
    if (!output.Initialized()) continue;
    std::string error;
    item.sample_ = output.LoadSample(item.Wave.data(), item.Wave.size(), error);
    if (item.sample_ == 0) {
      Clear();
      throw EDataFileError(fileName + ": item " + std::to_string(i + 1) + ": '" + records[i].Name +
                           "' is not a sound (" + error + ")");
    }
  }
}

TWaveCollectionItem& TWaveCollection::Add(const CollectionRecord& record, SoundOutput& output,
                                          Clock& clock) {
  auto item = std::make_unique<TWaveCollectionItem>();
  item->Name = record.Name;
  item->Looped = record.Looped;
  item->MaxPlayingCount = record.MaxPlayingCount;
  item->Frequency = record.Frequency;
  item->Pan = record.Pan;
  item->Volume = record.Volume;
  item->Wave = record.Payload;
  item->output_ = &output;
  item->clock_ = &clock;
  LinkByName(buckets_, item.get());
  items_.push_back(std::move(item));
  return *items_.back();
}

void TWaveCollection::Rename(TWaveCollectionItem& item, const std::string& name) {
  UnlinkByName(buckets_, &item);
  item.Name = name;
  LinkByName(buckets_, &item);
}

void TWaveCollection::Clear() {
  for (auto& item : items_) item->Release();
  items_.clear();
  for (auto& head : buckets_) head = nullptr;
}

TWaveCollectionItem* TWaveCollection::TryFind(const std::string& name) const {
  return FindByName(buckets_, name);
}

TWaveCollectionItem& TWaveCollection::Find(const std::string& name) const {
  if (auto* item = TryFind(name)) return *item;
  throw EGameError("Wave '" + name + "' not found");
}

}  // namespace pondaro
