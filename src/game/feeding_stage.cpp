// The feeding stage: set-up, frame and logic.
#include "app/main_form.h"

namespace pondaro {

void TMainForm::EnterFeedingStage() { CreateBackdrop(0); }
void TMainForm::FeedingFrame() { PlainFrame(); }
void TMainForm::FeedingLogic() {}
void TMainForm::FeedingTexts(bool) {}

}  // namespace pondaro
