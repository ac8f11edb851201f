// The sound collection: named sounds with their play rules (looped sounds restart
// their one buffer; others take a free copy, a new one, or the oldest).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"
#include "sprites/collection_file.h"

namespace pondaro {

class TWaveCollectionItem {
 public:
  std::string Name;
  bool Looped = false;
  int MaxPlayingCount = 0;  // copies that may play at once; 0 (or less) no limit
  int Frequency = 0, Pan = 0, Volume = 0;
  TWaveCollectionItem* NextInBucket = nullptr;

  // Play and stop through the collection's sound output. Both do nothing while the
  // output is not initialised or the item has no sample. With wait, Play polls every
  // 10 ms until the copy it started has finished (never for a looped sound).
  void Play(bool wait = false);
  void Stop();

  // Voices in use: the primary buffer and the extra copies, oldest first.
  VoiceId PrimaryVoice() const { return primary_; }
  SampleId Sample() const { return sample_; }
  const std::vector<VoiceId>& ExtraVoices() const { return extra_; }

 private:
  friend class TWaveCollection;
  VoiceSettings Settings() const;
  void Release();

  SoundOutput* output_ = nullptr;
  Clock* clock_ = nullptr;
  SampleId sample_ = 0;
  VoiceId primary_ = 0;
  std::vector<VoiceId> extra_;
};

class TWaveCollection {
 public:
  TWaveCollection();
  ~TWaveCollection();
  TWaveCollection(const TWaveCollection&) = delete;
  TWaveCollection& operator=(const TWaveCollection&) = delete;

  // Reads Data/Music.dxw and prepares every sound on `output`. Throws
  // EDataFileError naming the file and what is wrong; the collection is then empty.
  void LoadFromFile(const std::string& path, SoundOutput& output, Clock& clock);
  // The same from a whole file's bytes already in memory; `fileName` names it in errors.
  void LoadFromBytes(const std::vector<uint8_t>& bytes, SoundOutput& output, Clock& clock,
                     const std::string& fileName);
  // As LoadFromFile, but the file is read when a sound is first looked up or at
  // FinishLoading: the game's first frame comes before its sounds. A file that
  // cannot be used throws EDataFileError from there, each time, until another load.
  void BeginLoad(const std::string& path, SoundOutput& output, Clock& clock);
  void FinishLoading();
  bool Loading() const { return !due_.empty(); }
  // With the output not initialised the items are kept without samples (silent).
  void LoadFromRecords(const std::vector<CollectionRecord>& records, SoundOutput& output, Clock& clock,
                       const std::string& fileName);
  // Appends an item without a sample yet (the loader then prepares one); it becomes
  // the head of its bucket.
  TWaveCollectionItem& Add(const CollectionRecord& record, SoundOutput& output, Clock& clock);
  void Rename(TWaveCollectionItem& item, const std::string& name);
  // Frees every voice and sample.
  void Clear();

  // The lookups read a file whose loading is due first.
  int Count();
  TWaveCollectionItem& Items(int i);
  // Throws EGameError "Wave '%s' not found".
  TWaveCollectionItem& Find(const std::string& name);
  TWaveCollectionItem* TryFind(const std::string& name);

 private:
  std::vector<std::unique_ptr<TWaveCollectionItem>> items_;
  std::string due_, failed_;  // the file to read when the sounds are wanted; why it could not be
  SoundOutput* dueOutput_ = nullptr;
  Clock* dueClock_ = nullptr;
  TWaveCollectionItem* buckets_[256] = {};
};

// Reads a whole file; throws EDataFileError naming it when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& path);

}  // namespace pondaro
