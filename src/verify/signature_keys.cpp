// Reading the producer's key files: the whole file (a PEM public key is a
// few hundred bytes; anything past 64 KiB is not one) through the platform's
// file opening, so a name with accents opens on Windows too.
#include "verify/signature_keys.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "base/file_names.h"
#include "platform/open_file.h"
#include "platform/signature_check.h"

namespace varnel {

namespace {

constexpr std::size_t kLargestKeyFile = 64 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string KeyName(int version, const std::string& shown) {
  return "O ficheiro da chave pública \"" + shown + "\" (versão " + std::to_string(version) + ")";
}

std::string ReadKeyFile(int version, const std::string& path) {
  const std::filesystem::path file_path = PathFromUtf8(path);
  const std::string shown = DisplayPath(file_path);
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(platform::OpenFile(file_path, "rb"));
  if (!file) {
    const int error = errno != 0 ? errno : ENOENT;
    throw SignatureKeyError(KeyName(version, shown) + " não pôde ser lido: " +
                            std::error_code(error, std::generic_category()).message());
  }
  std::string text(kLargestKeyFile + 1, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), file.get()));
  if (std::ferror(file.get())) {
    throw SignatureKeyError(KeyName(version, shown) + " não pôde ser lido: erro de leitura");
  }
  if (text.size() > kLargestKeyFile) {
    throw SignatureKeyError(KeyName(version, shown) + " não é uma chave pública: tem mais de 64 KiB");
  }
  return text;
}

}  // namespace

SignatureKeys::SignatureKeys() = default;
SignatureKeys::~SignatureKeys() = default;
SignatureKeys::SignatureKeys(SignatureKeys&&) noexcept = default;
SignatureKeys& SignatureKeys::operator=(SignatureKeys&&) noexcept = default;

SignatureKeys SignatureKeys::Load(const std::vector<SignatureKeyFile>& files) {
  SignatureKeys keys;
  for (const SignatureKeyFile& file : files) {
    keys.Add(file.version, ReadKeyFile(file.version, file.path), DisplayPath(PathFromUtf8(file.path)));
  }
  return keys;
}

void SignatureKeys::Add(int version, std::string_view pem, const std::string& source) {
  std::string reason;
  std::unique_ptr<platform::RsaPublicKey> key = platform::RsaPublicKey::FromPem(pem, reason);
  if (!key) throw SignatureKeyError(KeyName(version, source) + " " + reason);
  m_keys[version] = Entry{std::move(key), source};
}

platform::RsaPublicKey* SignatureKeys::Find(int version) const {
  const auto found = m_keys.find(version);
  return found != m_keys.end() ? found->second.key.get() : nullptr;
}

std::string SignatureKeys::Source(int version) const {
  const auto found = m_keys.find(version);
  return found != m_keys.end() ? found->second.source : std::string();
}

}  // namespace varnel
