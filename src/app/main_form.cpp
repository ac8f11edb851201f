#include "app/main_form.h"

#include "menus/menu.h"  // the High Score screen's items, held by the form
#include "replay/tape.h"
#include "sprites/errors.h"

namespace pondaro {

TMainForm::TMainForm(const FormServices& services) : Services(services) { Randomize(); }

TMainForm::~TMainForm() {
  // A replay still playing lets go of the form first.
  if (Tape) Tape->LeaveReplay(*this);
  // Sprites hold pointers into the image collection: they go first.
  SpriteEngine.Engine.Clear();
  StopMusic();
  DXWaveList.Clear();
  ImageList.Finalize();
}

int TMainForm::Random(int n) {
  if (n <= 0) return 0;
  return std::uniform_int_distribution<int>(0, n - 1)(rng_);
}

// From the clock service, so that a simulated clock makes every reseed repeatable.
void TMainForm::Randomize() { rng_.seed(static_cast<uint32_t>(Services.clock.Milliseconds())); }

std::string TMainForm::Path(const std::string& relative) const {
  return DataDir.empty() || DataDir == "." ? relative : DataDir + "/" + relative;
}

std::string TMainForm::SettingsPath() const {
  return SettingsDir.empty() ? Path("Config.cfg") : SettingsDir + "/Config.cfg";
}

// The system's box also puts the line on stderr.
void TMainForm::ShowError(const std::string& message) {
  if (!MessagePanel.Ready) {
    Services.messages.Show(message);
    return;
  }
  std::fprintf(stderr, "PONDARO: %s\n", message.c_str());
  std::fflush(stderr);
  PostMessage(*this, message);
}

// ---- Start-up.

void TMainForm::FormCreate() {
  ResizePending = false;
  Randomize();
  Feeding.StorkAllowed = false;
  DXDraw().SetCursor(CursorShape::None);

  // The splash needs only the menu backdrop: the rest is decoded while it shows.
  ImageList.BeginLoad(Path("Data/Graphic.dxg"), Services.decoder, {"menu"});
  // The display comes up before the first frame; our pictures need it for their textures.
  DXDrawInitializing();
  DXDrawInitialize();

  GameOver = false;
  AimFixed = false;
  NormalRound = true;
  Pond.FrogGone = false;
  Paused = false;
  AppInactive = false;

  GamegoEdit = GameMainExit = GameExit = GameEnterName = GameSendResult = GameClearHighScore = false;
  GameFullScreen = false;
  GameSound = GameMusic = true;

  HighScores = DefaultHighScores();
  ReadSettings();
  // What was read goes back (a damaged or short file is written whole) once the
  // first frame is up: the disk's sync does not hold up the window.
  writeBackIn_ = 2;
  ChangeScene(1);
}

void TMainForm::ResetHighScores() {
  HighScores = DefaultHighScores();
  ChangeScene(7);
}

// ---- Display.

void TMainForm::DXDrawInitializing() {}

void TMainForm::DXDrawInitialize() {
  displayUp_ = true;
  ImageList.Restore(DXDraw());
  // From now on messages are the game's own; a collection without the panel
  // keeps the system's box.
  MessagePanel.Ready = ImageList.Has("Message_panel");
  SpriteEngine.SetDisplay(&DXDraw());
  DXTimerEnabled = true;
  // At start-up the sounds are made after the first frame (the splash plays none),
  // and a bad sound file then stops the game. Later, when the file went bad while
  // the game ran, the game plays on without sound: the sounds keep their names and
  // play nothing.
  if (DXWaveList.Loading() || DXWaveList.Count() == 0) {
    DXWaveList.BeginLoad(Path("Data/Music.dxw"), Services.sound, Services.clock);
    return;
  }
  std::vector<std::string> names;
  for (int i = 0; i < DXWaveList.Count(); ++i) names.push_back(DXWaveList.Items(i).Name);
  try {
    DXWaveList.LoadFromFile(Path("Data/Music.dxw"), Services.sound, Services.clock);
  } catch (const EDataFileError& e) {
    if (names.empty()) throw;
    for (const std::string& name : names) {
      CollectionRecord silent;
      silent.Name = name;
      DXWaveList.Add(silent, Services.sound, Services.clock);
    }
    ShowError(std::string(e.what()) + "\nThe game goes on without sound.");
  }
}

void TMainForm::DXDrawFinalize() {
  DXTimerEnabled = false;
  displayUp_ = false;
  SpriteEngine.SetDisplay(nullptr);
}

void TMainForm::GameFullScreenClick() {
  GameFullScreen = !GameFullScreen;
  GamegoEdit = false;
  DXDrawFinalize();
  if (!DXDraw().SetFullScreen(GameFullScreen)) {
    // A mode that cannot be set is not the player's choice: back to the one that works.
    GameFullScreen = !GameFullScreen;
    DXDraw().SetFullScreen(GameFullScreen);
    ShowError("Display mode cannot be changed (800x600 16bit)");
  }
  DXDrawInitializing();
  Guarded([&] { DXDrawInitialize(); });
}

void TMainForm::DXTimerActivate() {
  AppInactive = false;
  DXDraw().SetCaption("PONDARO");
}

void TMainForm::DXTimerDeactivate() {
  AppInactive = true;
  DXDraw().SetCaption("PONDARO [Pause]");
}

void TMainForm::FormClose() {
  if (GameMainExit) return;
  Paused = false;
  GameMainExitClick();
}

// Asked to end by the system: no dialog, nothing more to play; what the player set
// and scored is written as the exit from the menu would leave it.
void TMainForm::EndSession() {
  Guarded([&] { SaveOnExit(); });
  Terminated = true;
}

// ---- Events.

void TMainForm::HandleEvent(const InputEvent& e) {
  // Recorded before the panel sees it: a message over the game takes its input too.
  TDriveScope drive(*this, TRecordKind::Event, e);
  if (MessagePanelEvent(*this, e)) return;
  switch (e.Type) {
    case EventType::KeyDown:
      // Held down, Alt+Enter would flip the display with every repeat.
      if (e.Repeat && e.Alt && e.Key == vk::Return) break;
      FormKeyDown(e.Key, e.Shift, e.Ctrl, e.Alt);
      break;
    case EventType::KeyUp: FormKeyUp(e.Key); break;
    case EventType::MouseMove: DXDrawMouseMove(e.X, e.Y); break;
    case EventType::MouseDown: DXDrawMouseDown(e.Button, e.X, e.Y); break;
    case EventType::MouseUp: DXDrawMouseUp(e.Button, e.X, e.Y); break;
    case EventType::FocusGained: DXTimerActivate(); break;
    case EventType::FocusLost:
      DXTimerDeactivate();
      FireHeld = false;
      break;
    // Held buttons and keys may be let go where the game cannot see it.
    case EventType::PointerLeft: FireHeld = false; break;
    case EventType::Resized: FormResize(); break;
    case EventType::Close: FormClose(); break;
    case EventType::Terminate: EndSession(); break;
    case EventType::None: break;
  }
}

}  // namespace pondaro
