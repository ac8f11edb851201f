// The songs' instruments as libxmp reads them from Music/1.xm: the flute's loop
// is a chorus that beats gently and turns without a click, and the marimba and
// the small drums ring on in a room after the strike. Runs in build/game.
#include <gtest/gtest.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace pondaro {
namespace {

class SongBand : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx_ = xmp_create_context();
    ASSERT_EQ(xmp_load_module(ctx_, const_cast<char*>("Music/1.xm")), 0);
    xmp_get_module_info(ctx_, &info_);
  }
  void TearDown() override {
    xmp_release_module(ctx_);
    xmp_free_context(ctx_);
  }
  // The first sample of the instrument called `name`, as floats, and the sample.
  std::vector<double> Sample(const std::string& name, xmp_sample* out = nullptr) {
    const xmp_module* m = info_.mod;
    for (int i = 0; i < m->ins; ++i)
      if (name == m->xxi[i].name && m->xxi[i].nsm > 0) {
        const xmp_sample& s = m->xxs[m->xxi[i].sub[0].sid];
        if (out) *out = s;
        EXPECT_TRUE(s.flg & XMP_SAMPLE_16BIT);
        const int16_t* d = reinterpret_cast<const int16_t*>(s.data);
        return std::vector<double>(d, d + s.len);
      }
    ADD_FAILURE() << "no instrument " << name;
    return {};
  }
  static double Rms(const std::vector<double>& x, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += x[i] * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
  }

  xmp_context ctx_ = nullptr;
  xmp_module_info info_{};
};

TEST_F(SongBand, FlutesLoopIsAChorusThatTurnsWithoutAClick) {
  xmp_sample s{};
  const std::vector<double> x = Sample("flute", &s);
  ASSERT_TRUE(s.flg & XMP_SAMPLE_LOOP);
  const size_t start = static_cast<size_t>(s.lps), end = static_cast<size_t>(s.lpe);
  ASSERT_GT(end - start, 44100u / 2) << "a loop long enough to beat in";
  // The turn from the loop's end to its start is a step like the others in it.
  double largest = 0;
  for (size_t i = start + 1; i < end; ++i) largest = std::max(largest, std::abs(x[i] - x[i - 1]));
  EXPECT_LE(std::abs(x[end - 1] - x[start]), 1.05 * largest);
  // The voices beat: the level moves across the loop, where one cycle repeated stays flat.
  double low = 1e9, high = 0;
  for (size_t i = start; i + 441 <= end; i += 441) {
    const double r = Rms(x, i, i + 441);
    low = std::min(low, r), high = std::max(high, r);
  }
  EXPECT_GT(high / low, 1.15);
}

TEST_F(SongBand, MalletsAndDrumsRingOnInARoom) {
  // The dry mallet is 1.1 s long and silent at its end; the room goes on after it.
  const std::vector<double> marimba = Sample("marimba");
  ASSERT_GT(marimba.size(), 44100u * 13 / 10);
  const double strike = Rms(marimba, 0, 4410), tail = Rms(marimba, 49400, 49400 + 4410);
  EXPECT_GT(tail, strike * 0.001) << "no tail after the mallet";
  EXPECT_LT(tail, strike * 0.1) << "the tail does not die away";
  for (const char* drum : {"snare", "wood block"}) {
    const std::vector<double> d = Sample(drum);
    EXPECT_GT(Rms(d, d.size() * 3 / 4, d.size()), 0) << drum;
  }
}

}  // namespace
}  // namespace pondaro
