// varnel-signature-speed: measures what one signature check costs on the
// platform's own RSA check (OpenSSL's libcrypto on Linux, CNG on Windows),
// for the notes on the benchmark; not a test. What the chain adds to a whole
// verification the benchmark measures with the verifier itself (varnel-export
// --verify with and without the key).
//
//   varnel-signature-speed [N]   sign N chained texts with the demo key, verify them (10 000 by default)
//
// Prints the time per 10 000 signatures verified (and signed). Exit status
// 0, or 1 when a signature the demo key made does not verify, or 2 for a
// usage error.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/signature_check.h"
#include "tools/demo_signature.h"
#include "tools/demo_signing_key.h"
#include "tools/rsa_signer.h"
#include "verify/signature_keys.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The processor time of the process since start (on Windows the C library
// gives wall time here instead): the cost on a machine whose cores are busy.
double ProcessorSeconds(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

// Chained demo texts, as a series of tickets would be signed.
int MeasureSignatures(int count) {
  varnel::tools::RsaSigner signer(varnel::demo::DemoPrivateKey());
  std::vector<std::string> texts;
  std::vector<std::vector<unsigned char>> signatures;
  std::string previous;
  auto start = Clock::now();
  for (int i = 1; i <= count; ++i) {
    texts.push_back("2016-01-15;2016-01-15T12:00:00;TV A/" + std::to_string(i) + ";12.30;" + previous);
    signatures.push_back(signer.Sign(texts.back()));
    previous = varnel::demo::Base64Text(signatures.back());
  }
  const double signing = Seconds(start);
  varnel::SignatureKeys keys;
  keys.Add(varnel::demo::kDemoKeyVersion, varnel::demo::DemoPublicKeyPem(), "demo");
  auto* key = keys.Find(varnel::demo::kDemoKeyVersion);
  int failed = 0;
  start = Clock::now();
  const std::clock_t processor_start = std::clock();
  for (int i = 0; i < count; ++i) failed += key->Verify(texts[i], signatures[i]) ? 0 : 1;
  const double verifying = Seconds(start);
  const double processor = ProcessorSeconds(processor_start);
  std::printf("%d signatures: verify %.3f s, processor %.3f s (%.3f s per 10 000); sign %.3f s (%.1f us each)\n",
              count, verifying, processor, processor / count * 10000, signing, signing / count * 1e6);
  if (failed > 0) std::printf("%d signatures did not verify\n", failed);
  return failed > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    if (arguments.size() > 1) throw std::invalid_argument("usage: varnel-signature-speed [N]");
    const int count = arguments.empty() ? 10000 : std::stoi(arguments[0]);
    if (count < 1) throw std::invalid_argument("N must be at least 1");
    return MeasureSignatures(count);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "varnel-signature-speed: %s\n", error.what());
    return 2;
  }
}
