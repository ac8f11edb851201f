// TMainForm: the one main window. It owns every component and all shared state of
// the game; sprites reach it through the reference they are given.
#pragma once
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "game/level.h"
#include "menus/menu_state.h"
#include "menus/message_panel.h"
#include "persist/high_scores.h"
#include "persist/settings_store.h"
#include "persist/submit.h"
#include "platform/display.h"
#include "platform/events.h"
#include "platform/services.h"
#include "sprites/errors.h"
#include "sprites/image_list.h"
#include "sprites/sprite.h"
#include "sprites/wave_list.h"

namespace pondaro {

class TTape;

// The services the window is built on; tests pass doubles.
struct FormServices {
  Display& display;
  Keyboard& keyboard;
  SoundOutput& sound;
  ModulePlayer& music;
  HttpClient& http;
  Shell& shell;
  MessageBox& messages;
  Clock& clock;
  const PictureDecoder& decoder;
};

// A window timer: fires every Interval ms while Enabled.
struct TWindowTimer {
  bool Enabled = false;
  int Interval = 0;
  uint64_t Due = 0;  // clock time of the next firing
};

// Input states polled once a tick.
struct TInputStates {
  bool isUp = false, isDown = false, isLeft = false, isRight = false;
  bool isButton[33] = {};  // isButton1 .. isButton32 at 1..32
  JoystickState Pad;       // the controller as it was read, for the menus
};

class TMainForm {
 public:
  explicit TMainForm(const FormServices& services);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Where the data files and Config.cfg live (the working directory by default).
  std::string DataDir = ".";
  // Where Config.cfg lives when not beside the data (the installed game keeps it
  // in the user's settings folder); made when missing. Empty: in DataDir.
  std::string SettingsDir;

  // ---- Fields of the window.
  uint8_t Scene = 0;
  int32_t Level = 0, Score = 0, Lives = 0;
  std::string CountryText, PlayerName;
  std::string Edit1, Edit2;  // the hidden text boxes: country, name

  // ---- Flag items (the checked state of the never-shown menu's items).
  bool GameFullScreen = false, GameSound = true, GameMusic = true, GameMainExit = false,
       GameEnterName = false, GameSendResult = false, GamegoEdit = false, GameClearHighScore = false,
       GameExit = false;

  // ---- Shared module-level state.
  uint8_t Countdown2 = 0, Countdown3 = 0, Countdown4 = 0, Countdown5 = 0, Countdown6 = 0;
  double AimAngle = 0, AimAngleOffset = 0;
  int32_t MouseX = 0, MouseY = 0;
  bool AimFixed = false, Paused = false, AppInactive = false, ResizePending = false, LevelBanner = false,
       GameOver = false, NormalRound = true, MenuMusicRestart = false, FireHeld = false;
  uint8_t HelpPage = 1;
  int32_t EditTextWidth = 0, LevelTimeLeft = 0;
  THighScoreTable HighScores = DefaultHighScores();
  int SongHandle = 0;
  int32_t LastSongOrder = 0;
  TInputStates Input;

  // ---- The level, by subsystem (src/game/level.h, src/menus/menu_state.h).
  TPond Pond;
  TFrogState Frog;
  TFeeding Feeding;
  TMenuState Menus;
  TSettingsStore SettingsStore;
  TSubmission Submission;
  TMessagePanel MessagePanel;
  TTableReplays TableReplays;

  // ---- Components.
  TPictureCollection ImageList;
  TWaveCollection DXWaveList;
  TDXSpriteEngine SpriteEngine;
  TWindowTimer Timer1{false, 2000, 0};
  TWindowTimer LevelTimer{false, 1000, 0};
  bool DXTimerEnabled = false;
  bool Terminated = false;

  FormServices Services;
  Display& DXDraw() { return Services.display; }

  // ---- Replays (src/replay/): the tape the services run through, which records
  // every game and plays replays back; none in most tests.
  TTape* Tape = nullptr;
  // A replay plays on this form: nothing is saved or sent.
  bool Replaying = false;

  // Random(n): 0 .. n-1 from the form's one generator.
  int Random(int n);
  void Randomize();
  void Seed(uint32_t seed) { rng_.seed(seed); }

  // ---- Start-up and the display.
  // Throws EDataFileError when Data/Graphic.dxg cannot be used.
  void FormCreate();
  void DXDrawInitializing();
  void DXDrawInitialize();  // throws EDataFileError for a bad Data/Music.dxw
  void DXDrawFinalize();
  void GameFullScreenClick();
  void GameSoundClick() { GameSound = !GameSound; }
  void GameMusicClick() { GameMusic = !GameMusic; }
  void GameMainExitClick();
  void DXTimerActivate();
  void DXTimerDeactivate();
  void FormClose();
  // The system asks the program to end (Ctrl+C, logging out): settings written, loop ended.
  void EndSession();
  void FormResize() { ResizePending = true; }
  void ResetHighScores();

  // ---- Frame loop and scenes.
  void DXTimerTimer();
  void Timer1Timer();
  void LevelTimerTimer();
  void ChangeScene(int n);
  void EnableTimer(TWindowTimer& timer, bool on);
  // The feeding stage's clock runs, and its insects are heard, exactly while scene 4
  // plays: not paused, no dialog.
  void SyncLevelTimer();
  void SetTimerInterval(TWindowTimer& timer, int ms);

  // ---- The crossing (src/game/crossing.cpp).
  void EnterCrossing();
  void StartLevel();
  void FillLilyGrid();
  void ShiftLilyGrid();
  void CreateLilies();
  void CrossingFrame();
  void CrossingLogic();
  // Rebuilds the lily (and crocodile eyes) of one cell from the grid, at once.
  void RebuildCell(int column, int row);

  // The energy bottle and the three plates behind the status line, in both stages.
  void CreateBottleAndPanels();

  // ---- The feeding stage (src/game/feeding_stage.cpp).
  void EnterFeedingStage();
  void FeedingFrame();
  void FeedingLogic();

  // ---- Texts over the play (src/game/status_line.cpp).
  void CrossingTexts(bool frozen);
  void FeedingTexts(bool frozen);

  // ---- Menu screens (src/menus/).
  void EnterMainMenu();
  void EnterHelp();
  void HelpFrame();
  void EnterOptions();
  void OptionsFrame();
  void EnterHighScores();
  void HighScoreFrame();
  void EnterGameOver();
  void GameClearHighScoreClick();  // opens or closes the clear-table dialog
  void TypeCountry(int key);       // a key on the options screen while GamegoEdit is on

  // ---- Input.
  void FormKeyDown(int key, bool shift, bool ctrl, bool alt);
  void FormKeyUp(int key);
  void DXDrawMouseMove(int x, int y);
  void DXDrawMouseDown(MouseButton button, int x, int y);
  void DXDrawMouseUp(MouseButton button, int x, int y);
  void PressOn(MouseButton button);  // a press the screen showing now takes
  void UpdateInputStates();
  // The controller on the menus and dialogs, once a tick (src/menus/menu_keys.cpp).
  void MenuPad();
  // The P key in the game scenes (not while the exit dialog is open).
  void TogglePause();
  // Routes one platform event to its handler.
  void HandleEvent(const InputEvent& event);

  // ---- Name entry.
  void GameEnterNameClick();
  void GameSendResultClick();
  void StoreHighScore();
  // Every way out of the program at name entry stores the score as Enter would,
  // with the name typed so far (the last one when the field is empty), unsent.
  void StoreTypedName();
  void TypeName(int key);     // a key while GamegoEdit is on
  void CommitName();          // Enter without Alt
  void GameOverClick();       // a left click once the game-over words are gone
  void NameEntryFrame();      // the score and the name over the panel
  // The character a key types into a text box (0: none), and its counted width.
  static int EntryCharacter(int key);
  static int GlyphWidth(int ch);
  void SubmitScore();        // starts sending; the table is shown when it is over
  void PollSubmission();
  void AbandonSubmission();  // Esc while sending: the table at once
  void SubmissionFrame();    // polls, and says so while sending
  void GoWeb(const std::string& address);

  // ---- Settings file.
  void SaveSettings();
  void ReadSettings();
  // The saving end of every way out (a quit signal, a lost display, an error):
  // files only, no drawing and no dialogs.
  void SaveOnExit();

  // ---- Audio.
  void PlayMusic(const std::string& name);
  void StopMusic();
  void PlaySound(const std::string& name);
  void StopSound(const std::string& name);
  // The insects' buzz stops while the feeding stage stands still and comes back with play.
  void SetFlightSounds(bool heard);
  void MusicKeepAlive();

  // ---- Errors: the operation is abandoned, the message shown, the game goes on.
  // Shown on the game's own panel once the display is up, before that in the
  // system's box; always on stderr too.
  void ShowError(const std::string& message);
  // Runs f; a game error it raises is reported and swallowed.
  template <class F>
  void Guarded(F&& f) {
    try {
      f();
    } catch (const EDataFileError&) {
      throw;
    } catch (const std::exception& e) {
      ShowError(e.what());
    }
  }

  std::string Path(const std::string& relative) const;
  std::string SettingsPath() const;
  // The tiled menu backdrop at depth z.
  void CreateBackdrop(int z);
  TSpriteEngine& Root() { return SpriteEngine.Engine; }

 private:
  void CleanUpScene(int scene);
  void SetUpScene(int scene);
  void SceneFrame();
  void PlainFrame();
  void CaretBlink();
  void ComputeAimAngle();

  void WriteBackSettings();

  std::mt19937 rng_;
  bool displayUp_ = false;
  int writeBackIn_ = 0;  // frame ticks until start-up's settings are written back
  std::string songAfterFrame_;  // started once the next frame is up (loading one takes 4-5 ms)
};

}  // namespace pondaro
