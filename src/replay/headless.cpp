#include "replay/headless.h"

#include "app/main_form.h"
#include "replay/digest.h"
#include "replay/null_services.h"
#include "replay/player.h"
#include "replay/png_decoder.h"
#include "replay/tape.h"
#include "sprites/errors.h"

namespace pondaro {

namespace {

// The services of a game nobody sees or hears: the tape answers what reaches the rules.
class NullDisplay : public Display {
 public:
  bool CanDraw() const override { return true; }
  int SurfaceWidth() const override { return 800; }
  int SurfaceHeight() const override { return 600; }
  int WindowWidth() const override { return 800; }
  TextureId CreateTexture(const Pixels&, bool) override { return ++textures_; }
  void DestroyTexture(TextureId) override {}
  void BeginFrame() override {}
  void EndFrame() override {}
  void Fill(Color) override {}
  void Draw(TextureId, const TRect&, int, int) override {}
  void DrawStretched(TextureId, const TRect&, const TRect&, int) override {}
  void DrawRotated(TextureId, const TRect&, int, int, int, int, int, int) override {}
  void DrawRotatedAbout(TextureId, const TRect&, int, int, int, int, double, double, int, int) override {}
  void DrawText(int, int, const std::string&, int, Color) override {}
  int TextWidth(const std::string&, int) override { return 0; }
  TRect TextBounds(int x, int y, const std::string&, int) override { return {x, y, x, y}; }
  void SetCursor(CursorShape) override {}
  void SetCaption(const std::string&) override {}
  bool SetFullScreen(bool) override { return true; }
  bool IsMaximized() const override { return false; }

 private:
  TextureId textures_ = 0;
};

class KeptMessages : public MessageBox {
 public:
  std::string last;
  void Show(const std::string& message) override { last = message; }
};

}  // namespace

struct THeadlessGame::Parts {
  NullDisplay display;
  NullKeyboard keyboard;
  NullClock clock;
  NullSound sound;
  NullMusic music;
  NullHttp http;
  NullShell shell;
  KeptMessages messages;
  PngDecoder decoder;
  TTape tape{FormServices{display, keyboard, sound, music, http, shell, messages, clock, decoder}};
  TMainForm form{tape.Services()};
};

THeadlessGame::THeadlessGame(const std::string& dataDir) : parts_(std::make_unique<Parts>()) {
  TMainForm& f = parts_->form;
  f.DataDir = dataDir;
  f.Tape = &parts_->tape;
  f.Replaying = true;  // never saves, never sends
  f.GameSound = f.GameMusic = false;
  parts_->tape.KeepReplays = false;
  parts_->tape.Quiet = true;
  f.ImageList.LoadFromFile(f.Path("Data/Graphic.dxg"), parts_->decoder);
  f.DXDrawInitialize();
  std::string error;
  checksum_ = FileChecksum(f.Path("Data/Graphic.dxg"), error);
}

THeadlessGame::~THeadlessGame() = default;

TVerdict THeadlessGame::Verify(const TReplay& replay, const std::function<bool()>& keepGoing,
                              const std::function<void(TMainForm&, uint64_t)>& afterDrive) {
  TVerdict v;
  // Another version's game, or another picture collection's: nothing here can re-play it.
  if (replay.GameVersion != PONDARO_VERSION) {
    v.Problem = "recorded by PONDARO " + replay.GameVersion + "; this is " PONDARO_VERSION;
    return v;
  }
  if (replay.DataChecksum != checksum_) {
    v.Problem = "recorded with other pictures (Data/Graphic.dxg)";
    return v;
  }
  v.Readable = true;
  TMainForm& f = parts_->form;
  TReplayPlayer player(replay, parts_->tape);
  player.Begin(f);
  for (long steps = 1; player.Step(f); ++steps) {
    if (afterDrive) afterDrive(f, player.Drives());
    if (keepGoing && steps % 4096 == 0 && !keepGoing()) break;
  }
  player.End();

  v.Score = player.Score();
  v.Level = player.Level();
  v.Ticks = player.Ticks();
  v.Digest = player.FinalDigest();
  v.Name = player.Name();
  v.FirstDivergence = player.FirstDivergence();
  if (!player.Problem().empty())
    v.Problem = player.Problem();
  else if (!player.Ended())
    v.Problem = "stopped before the game's end";
  else if (v.FirstDivergence != 0)
    v.Problem = "the game went another way: its digest differs first at tick " + std::to_string(v.FirstDivergence);
  else if (v.Score != replay.Score)
    v.Problem = "the score comes out " + std::to_string(v.Score) + ", the file says " + std::to_string(replay.Score);
  else if (v.Level != replay.Level || v.Ticks != replay.Ticks || v.Name != replay.Name ||
           v.Digest != replay.FinalDigest)
    v.Problem = "the game ends otherwise than the file says";
  v.Verified = v.Problem.empty();
  return v;
}

namespace {

TVerdict VerifyWithData(const TReplay& replay, const std::string& dataDir) {
  try {
    THeadlessGame game(dataDir);
    return game.Verify(replay);
  } catch (const EGameError& e) {
    TVerdict v;
    v.Problem = e.what();  // the game's data: nothing to re-play it with
    return v;
  }
}

}  // namespace

TVerdict VerifyReplayBytes(const std::vector<uint8_t>& bytes, const std::string& dataDir) {
  TVerdict v;
  TReplay replay;
  if (!ReadReplay(bytes, replay, v.Problem)) return v;
  return VerifyWithData(replay, dataDir);
}

TVerdict VerifyReplayFile(const std::string& path, const std::string& dataDir) {
  TVerdict v;
  TReplay replay;
  if (!LoadReplay(path, replay, v.Problem)) return v;
  return VerifyWithData(replay, dataDir);
}

int VerifyCommand(const std::string& path, const std::string& dataDir, std::ostream& out, std::ostream& err) {
  const TVerdict v = VerifyReplayFile(path, dataDir);
  if (!v.Readable) {
    err << "pondaro: " << (v.Problem.starts_with(path) ? "" : path + ": ") << v.Problem << "\n";
    return 2;
  }
  out << "score=" << v.Score << " ticks=" << v.Ticks << " digest=" << DigestText(v.Digest) << "\n";
  out.flush();
  if (!v.Verified) err << "pondaro: " << path << ": " << v.Problem << "\n";
  return v.Verified ? 0 : 1;
}

}  // namespace pondaro
