#include "sprites/wave_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "sprites/errors.h"
#include "sprites/image_list.h"

namespace pondaro {

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw EDataFileError(path + ": cannot open (" + std::strerror(errno) + ")");
  std::vector<uint8_t> bytes;
  // Sized once (a file that grows meanwhile is read to its end all the same).
  struct stat st {};
  if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
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
  const TFileBytes file(path);
  std::vector<CollectionRecord> records;
  std::string error;
  if (!ReadCollectionInPlace(file.Data(), file.Size(), CollectionKind::Sounds, records, error))
    throw EDataFileError(path + ": " + error);
  LoadFromRecords(records, output, clock, path);
}

void TWaveCollection::BeginLoad(const std::string& path, SoundOutput& output, Clock& clock) {
  Clear();
  due_ = path;
  dueOutput_ = &output;
  dueClock_ = &clock;
}

void TWaveCollection::FinishLoading() {
  if (!failed_.empty()) throw EDataFileError(failed_);
  if (due_.empty()) return;
  const std::string path = std::exchange(due_, {});
  try {
    LoadFromFile(path, *dueOutput_, *dueClock_);
  } catch (const EDataFileError& e) {
    failed_ = e.what();
    throw;
  }
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
    item.sample_ = output.LoadSample(records[i].PayloadData(), records[i].PayloadSize(), error);
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
  due_.clear();
  failed_.clear();
  for (auto& item : items_) item->Release();
  items_.clear();
  for (auto& head : buckets_) head = nullptr;
}

int TWaveCollection::Count() {
  FinishLoading();
  return static_cast<int>(items_.size());
}

TWaveCollectionItem& TWaveCollection::Items(int i) {
  FinishLoading();
  return *items_.at(static_cast<size_t>(i));
}

TWaveCollectionItem* TWaveCollection::TryFind(const std::string& name) {
  FinishLoading();
  return FindByName(buckets_, name);
}

TWaveCollectionItem& TWaveCollection::Find(const std::string& name) {
  if (auto* item = TryFind(name)) return *item;
  throw EGameError("Wave '" + name + "' not found");
}

}  // namespace pondaro
