// Who sent a score, kept without keeping the address: an HMAC-SHA256 of the
// client's key (its IPv4 address, or its IPv6 /64) under a secret of the
// operator's. Bans are kept the same way, so a banned address is matched to what
// it sent, and a copy of the database alone does not tell who played.
#pragma once
#include <string>

namespace pondaro::scores {

// 32 hexadecimal digits.
std::string SenderOf(const std::string& secret, const std::string& clientKey);

// The secret in `path`, made (32 random bytes, readable by the owner alone) when
// the file is missing. Throws std::runtime_error saying what is wrong.
std::string LoadOrCreateSecret(const std::string& path);

// Where the secret of an SQLite database lives when no file is given.
inline std::string SecretBeside(const std::string& database) { return database + ".secret"; }

}  // namespace pondaro::scores
