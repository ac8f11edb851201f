#include "synth.h"

#include <algorithm>
#include <cmath>

namespace pondaro::assetgen {

size_t SampleCount(double seconds, int rate) {
  return seconds <= 0 ? 0 : static_cast<size_t>(std::lround(seconds * rate));
}

double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
double GainToDb(double gain) { return gain <= 0 ? -200.0 : 20.0 * std::log10(gain); }

uint32_t Rng::Next() {
  s_ ^= s_ >> 12;
  s_ ^= s_ << 25;
  s_ ^= s_ >> 27;
  return static_cast<uint32_t>((s_ * 0x2545F4914F6CDD1Dull) >> 32);
}

double Rng::Uniform() { return Next() / 4294967296.0; }
double Rng::Bipolar() { return Uniform() * 2.0 - 1.0; }

Curve Constant(double v) {
  return [v](double) { return v; };
}

Curve ExpSweep(double from, double to, double seconds) {
  return [=](double t) {
    if (t >= seconds || seconds <= 0) return to;
    return from * std::pow(to / from, std::max(0.0, t) / seconds);
  };
}

Curve LinSweep(double from, double to, double seconds) {
  return [=](double t) {
    if (t >= seconds || seconds <= 0) return to;
    return from + (to - from) * std::max(0.0, t) / seconds;
  };
}

namespace {
// PolyBLEP residual: smooths the jump of a naive square or saw near t = 0 (mod 1).
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}
}  // namespace

Samples Oscillator(Shape shape, const Curve& freq, double seconds, double phase, int rate) {
  Samples out(SampleCount(seconds, rate));
  double p = phase - std::floor(phase);
  const double softK = 3.0, softNorm = 1.0 / std::tanh(softK);
  for (size_t i = 0; i < out.size(); ++i) {
    const double dt = std::clamp(freq(static_cast<double>(i) / rate) / rate, 0.0, 0.5);
    double v = 0;
    switch (shape) {
      case Shape::Sine: v = std::sin(2 * M_PI * p); break;
      case Shape::Triangle: v = 1.0 - 4.0 * std::abs(p - 0.5); break;
      case Shape::Square:
        v = (p < 0.5 ? 1.0 : -1.0) + PolyBlep(p, dt) - PolyBlep(std::fmod(p + 0.5, 1.0), dt);
        break;
      case Shape::Saw: v = 2.0 * p - 1.0 - PolyBlep(p, dt); break;
      case Shape::SoftSquare: v = std::tanh(softK * std::sin(2 * M_PI * p)) * softNorm; break;
    }
    out[i] = static_cast<float>(v);
    p += dt;
    if (p >= 1.0) p -= 1.0;
  }
  return out;
}

Samples WhiteNoise(double seconds, uint64_t seed, int rate) {
  Rng rng(seed);
  Samples out(SampleCount(seconds, rate));
  for (float& v : out) v = static_cast<float>(rng.Bipolar());
  return out;
}

namespace {
// 0 -> 0, 1 -> 1 with zero slope at both ends.
double Smooth(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return 0.5 - 0.5 * std::cos(M_PI * x);
}
}  // namespace

void ApplyAdsr(Samples& s, const Adsr& env, int rate) {
  const double total = static_cast<double>(s.size()) / rate;
  const double releaseStart = std::max(0.0, total - env.Release);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    double level;
    if (t < env.Attack)
      level = Smooth(t / env.Attack);
    else if (t < env.Attack + env.Decay)
      level = 1.0 + (env.Sustain - 1.0) * Smooth((t - env.Attack) / env.Decay);
    else
      level = env.Sustain;
    if (t >= releaseStart && env.Release > 0) level *= 1.0 - Smooth((t - releaseStart) / env.Release);
    s[i] *= static_cast<float>(level);
  }
}

void ApplyPluck(Samples& s, double attack, double decayTime, int rate) {
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double a = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    s[i] *= static_cast<float>(a * std::exp(-std::max(0.0, t - attack) / decayTime));
  }
}

void ApplyCurve(Samples& s, const Curve& level, int rate) {
  for (size_t i = 0; i < s.size(); ++i) s[i] *= static_cast<float>(level(static_cast<double>(i) / rate));
}

void FadeEdges(Samples& s, double fadeIn, double fadeOut, int rate) {
  const size_t in = std::min(SampleCount(fadeIn, rate), s.size());
  const size_t out = std::min(SampleCount(fadeOut, rate), s.size());
  for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(Smooth(static_cast<double>(i) / in));
  for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(Smooth(static_cast<double>(i) / out));
}

void LowPass1(Samples& s, double cutoff, int rate) {
  const double a = 1.0 - std::exp(-2 * M_PI * cutoff / rate);
  double y = 0;
  for (float& v : s) v = static_cast<float>(y += a * (v - y));
}

void Room(Samples& s, double seconds, double wet, int rate) {
  const size_t dry = s.size(), total = dry + static_cast<size_t>(seconds * rate);
  Samples in = s;
  in.resize(total, 0.0f);
  Samples out(total, 0.0f);
  // Delays of no common measure, so the echoes never line up into a flutter.
  for (double ms : {29.7, 37.1, 41.1, 43.7}) {
    const size_t d = static_cast<size_t>(ms * rate / 1000);
    const double g = std::pow(10.0, -3.0 * ms / 1000 / seconds), damp = 0.3;
    std::vector<double> line(d, 0.0);
    double low = 0;
    for (size_t i = 0; i < total; ++i) {
      const double y = line[i % d];
      low += (1 - damp) * (y - low);
      line[i % d] = in[i] + g * low;
      out[i] += static_cast<float>(y / 4);
    }
  }
  for (double ms : {5.0, 1.7}) {
    const size_t d = static_cast<size_t>(ms * rate / 1000);
    const double g = 0.7;
    std::vector<double> line(d, 0.0);
    for (size_t i = 0; i < total; ++i) {
      const double delayed = line[i % d], x = out[i];
      const double y = -g * x + delayed;
      line[i % d] = x + g * y;
      out[i] = static_cast<float>(y);
    }
  }
  s.resize(total, 0.0f);
  for (size_t i = 0; i < total; ++i) s[i] += static_cast<float>(wet * out[i]);
}

void HighPass1(Samples& s, double cutoff, int rate) {
  const double a = 1.0 - std::exp(-2 * M_PI * cutoff / rate);
  double low = 0;
  for (float& v : s) {
    low += a * (v - low);
    v = static_cast<float>(v - low);
  }
}

namespace {
enum class BiquadKind { LowPass, BandPass };

// RBJ cookbook biquad, coefficients recomputed every 32 samples so the cutoff can move.
void Biquad(Samples& s, BiquadKind kind, const Curve& freq, double q, int rate) {
  double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (i % 32 == 0) {
      const double f = std::clamp(freq(static_cast<double>(i) / rate), 10.0, rate * 0.45);
      const double w = 2 * M_PI * f / rate, cw = std::cos(w), alpha = std::sin(w) / (2 * q);
      const double a0 = 1 + alpha;
      if (kind == BiquadKind::LowPass) {
        b0 = (1 - cw) / 2 / a0;
        b1 = (1 - cw) / a0;
        b2 = b0;
      } else {  // constant 0 dB peak gain
        b0 = alpha / a0;
        b1 = 0;
        b2 = -alpha / a0;
      }
      a1 = -2 * cw / a0;
      a2 = (1 - alpha) / a0;
    }
    const double x = s[i];
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    s[i] = static_cast<float>(y);
  }
}
}  // namespace

void LowPass2(Samples& s, const Curve& cutoff, double q, int rate) {
  Biquad(s, BiquadKind::LowPass, cutoff, q, rate);
}

void BandPass(Samples& s, const Curve& centre, double q, int rate) {
  Biquad(s, BiquadKind::BandPass, centre, q, rate);
}

void Scale(Samples& s, double gain) {
  for (float& v : s) v = static_cast<float>(v * gain);
}

void MixInto(Samples& dst, const Samples& src, double gain, double offset, int rate) {
  const size_t at = SampleCount(offset, rate);
  if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[at + i] += static_cast<float>(src[i] * gain);
}

double Peak(const Samples& s) {
  double p = 0;
  for (float v : s) p = std::max(p, static_cast<double>(std::abs(v)));
  return p;
}

double Rms(const Samples& s) {
  if (s.empty()) return 0;
  double sum = 0;
  for (float v : s) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / s.size());
}

double WindowRms(const Samples& s, double window, int rate) {
  const size_t n = std::max<size_t>(1, SampleCount(window, rate));
  if (s.size() <= n) return Rms(s);
  double sum = 0, best = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    sum += static_cast<double>(s[i]) * s[i];
    if (i >= n) sum -= static_cast<double>(s[i - n]) * s[i - n];
    if (i + 1 >= n) best = std::max(best, sum);
  }
  return std::sqrt(std::max(0.0, best) / n);
}

void NormalizeLoudness(Samples& s, double targetRmsDb, double peakDb, double window, int rate) {
  const double rms = WindowRms(s, window, rate), peak = Peak(s);
  if (rms <= 0 || peak <= 0) return;
  const double gain = std::min(DbToGain(targetRmsDb) / rms, DbToGain(peakDb) / peak);
  Scale(s, gain);
}

Samples SeamlessLoop(const Samples& src, size_t length, size_t crossfade) {
  length = std::min(length, src.size());
  crossfade = std::min({crossfade, src.size() - length, length});
  Samples out(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(length));
  for (size_t i = 0; i < crossfade; ++i) {
    const double th = M_PI / 2 * static_cast<double>(i) / crossfade;
    out[i] = static_cast<float>(src[i] * std::sin(th) + src[length + i] * std::cos(th));
  }
  return out;
}

namespace {
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(v & 0xFF);
  b.push_back(v >> 8);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
void PutTag(std::vector<uint8_t>& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}
}  // namespace

std::vector<uint8_t> EncodeWav(const Samples& s, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(s.size() * 2);
  std::vector<uint8_t> b;
  b.reserve(44 + dataBytes);
  PutTag(b, "RIFF");
  Put32(b, 36 + dataBytes);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, 1);  // mono
  Put32(b, static_cast<uint32_t>(rate));
  Put32(b, static_cast<uint32_t>(rate) * 2);
  Put16(b, 2);
  Put16(b, 16);
  PutTag(b, "data");
  Put32(b, dataBytes);
  for (float v : s) {
    const long q = std::lround(std::clamp(static_cast<double>(v), -1.0, 1.0) * 32767.0);
    Put16(b, static_cast<uint16_t>(static_cast<int16_t>(q)));
  }
  return b;
}

}  // namespace pondaro::assetgen
