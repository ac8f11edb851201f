#include "game/scroll.h"

#include "app/main_form.h"
#include "game/bonuses.h"
#include "game/lilies.h"
#include "game/water.h"

namespace pondaro {

TSample::TSample(TMainForm& form) : TImageSprite(&form.Root()), Form(form) {
  Image = &form.ImageList.Find("sample");
  PixelExact = true;
  Width = Image->FrameWidth();
  Height = Image->FrameHeight();
  X = 0;
  Y = 0;
  SetZ(0);
}

void TSample::Advance(int moveCount) {
  TImageSprite::Advance(moveCount);
  if (Form.Pond.Scrolling) Y += 5;
  if (Y > 150) EndScroll();
}

// The others have moved 150 px a row on 30 ticks; on the 31st the rows shift
// before they move again.
void TSample::EndScroll() {
  TPond& pond = Form.Pond;
  Y = 0;
  pond.Scrolling = false;
  for (int i = 0; i < pond.ScrollRows; ++i) Form.ShiftLilyGrid();
  const int rows = pond.ScrollRows;
  Form.Root().ForEach<TKuvshinka>([rows](TKuvshinka* l) { l->Row += rows; });
  Form.Root().ForEach<TBonus>([rows](TBonus* b) { b->Row += rows; });
  Form.CreateLilies();
  new TRazvod(Form, Form.Frog.RippleSizeAhead, Form.Frog.FrogColumn + 1);
  pond.ScrollRows = 1;
}

}  // namespace pondaro
