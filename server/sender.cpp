#include "sender.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace pondaro::scores {

namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string Hex(const unsigned char* bytes, size_t n) {
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
  return out;
}

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw std::runtime_error("secret file " + path + ": " + what + ": " + std::strerror(errno));
}

}  // namespace

std::string SenderOf(const std::string& secret, const std::string& clientKey) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  HMAC(EVP_sha256(), secret.data(), static_cast<int>(secret.size()),
       reinterpret_cast<const unsigned char*>(clientKey.data()), clientKey.size(), mac, &length);
  return Hex(mac, 16);
}

std::string LoadOrCreateSecret(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    unsigned char bytes[32];
    if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
      close(fd);
      unlink(path.c_str());
      Fail(path, "no random numbers");
    }
    const std::string text = Hex(bytes, sizeof bytes) + "\n";
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && fsync(fd) == 0;
    close(fd);
    if (!written) {
      unlink(path.c_str());
      Fail(path, "cannot write it");
    }
  } else if (errno != EEXIST) {
    Fail(path, "cannot create it");
  }
  fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail(path, "cannot read it");
  char buf[256];
  const ssize_t n = read(fd, buf, sizeof buf);
  close(fd);
  std::string secret(buf, n > 0 ? static_cast<size_t>(n) : 0);
  while (!secret.empty() && (secret.back() == '\n' || secret.back() == '\r' || secret.back() == ' ')) secret.pop_back();
  if (secret.size() < 16) {
    errno = EINVAL;
    Fail(path, "it holds less than 16 characters");
  }
  return secret;
}

}  // namespace pondaro::scores
