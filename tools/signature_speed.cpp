// varnel-signature-speed: measures what the signature chain costs, on the
// platform's own RSA check (OpenSSL's libcrypto on Linux, CNG on Windows),
// for the benchmark and the notes on it; not a test.
//
//   varnel-signature-speed [N]                      sign N texts with the demo key, verify them
//   varnel-signature-speed --file F --public-key K  the signature pass alone over the audit file F
//   varnel-signature-speed --chain F --public-key K the chain alone: F's documents read first, then
//                                                   checked as the verifier's own pass would hand them over
//
// Prints the time per 10 000 signatures verified (and signed), or the pass's
// wall time with its counts. Exit status 0, or 1 when a signature the demo
// key made does not verify, or 2 for a usage error.
#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "platform/signature_check.h"
#include "tools/demo_signature.h"
#include "tools/demo_signing_key.h"
#include "tools/rsa_signer.h"
#include "verify/signature_keys.h"
#include "verify/queued_signature_chain.h"
#include "verify/signature_pass.h"

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

int MeasurePass(const std::string& file, const std::string& key_file) {
  varnel::SignatureKeys keys;
  if (!key_file.empty()) keys = varnel::SignatureKeys::Load({{1, key_file}});
  varnel::verify::SignatureChainSetup setup;
  setup.keys = &keys;
  std::atomic<bool> stop{false};
  const auto start = Clock::now();
  const std::clock_t processor_start = std::clock();
  const varnel::verify::SignatureCheckResult result =
      varnel::verify::CheckSignatures(varnel::PathFromUtf8(file), std::move(setup), stop);
  const double seconds = Seconds(start);
  std::printf("signature pass: %.3f s (processor %.3f s); %llu documents, %llu signatures checked, %llu verified, "
              "%zu findings\n",
              seconds, ProcessorSeconds(processor_start), static_cast<unsigned long long>(result.documents),
              static_cast<unsigned long long>(result.checked), static_cast<unsigned long long>(result.verified),
              result.findings.size());
  for (const varnel::Finding& finding : result.findings) std::printf("  %s\n", finding.message.c_str());
  return 0;
}

// What the chain costs when another pass reads the file: the documents are
// read into memory first, then checked on this thread (the processor time
// the checks add) and through the queue, fed from this thread.
int MeasureChain(const std::string& file, const std::string& key_file) {
  varnel::SignatureKeys keys = varnel::SignatureKeys::Load({{1, key_file}});
  std::vector<varnel::verify::SignedDocument> documents;
  std::string certificate;
  std::atomic<bool> stop{false};
  varnel::verify::ReadSignedDocuments(
      varnel::PathFromUtf8(file), [&](const varnel::verify::SignedDocument& d) { documents.push_back(d); },
      certificate, stop);
  varnel::verify::SignatureChainSetup setup;
  setup.keys = &keys;
  auto start = Clock::now();
  const std::clock_t processor_start = std::clock();
  varnel::verify::SignatureChain chain(setup);
  for (const auto& document : documents) chain.Add(document);
  const std::size_t findings = chain.Finish().size();
  const double alone = Seconds(start);
  const double alone_processor = ProcessorSeconds(processor_start);
  start = Clock::now();
  varnel::verify::QueuedSignatureChain queued(setup);
  for (const auto& document : documents) queued.Add(document);
  const std::size_t queued_findings = queued.Finish().size();
  const double through_queue = Seconds(start);
  std::printf("chain over %zu documents: %.3f s on one thread (processor %.3f s, %.3f s per 10 000), %.3f s "
              "through the queue; %llu verified; %zu and %zu findings\n",
              documents.size(), alone, alone_processor,
              alone_processor / static_cast<double>(documents.size()) * 10000, through_queue,
              static_cast<unsigned long long>(chain.signatures_verified()), findings, queued_findings);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    if (arguments.size() == 4 && arguments[0] == "--chain" && arguments[2] == "--public-key") {
      return MeasureChain(arguments[1], arguments[3]);
    }
    if (arguments.size() >= 2 && arguments[0] == "--file") {
      const bool keyed = arguments.size() == 4 && arguments[2] == "--public-key";
      if (arguments.size() != 2 && !keyed) throw std::invalid_argument("--file F [--public-key K]");
      return MeasurePass(arguments[1], keyed ? arguments[3] : "");
    }
    const int count = arguments.empty() ? 10000 : std::stoi(arguments[0]);
    if (count < 1) throw std::invalid_argument("N must be at least 1");
    return MeasureSignatures(count);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "varnel-signature-speed: %s\n", error.what());
    return 2;
  }
}
