// The signature check as a pass of its own over the audit file: libxml2's
// push parser with a small SAX handler reads the file again (from the page
// cache, as a rule) and hands each signed document of SalesInvoices,
// MovementOfGoods and WorkingDocuments, with the Header's certificate number,
// to a SignatureChain. Run on a thread of its own beside the verifier's
// pass, the file's second reading and the RSA checks overlap the rest on a
// second core. It reports only what the chain finds: well-formedness, bytes
// and the Hash's form are the verifier's to report.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "verify/audit_file_verifier.h"
#include "verify/signature_chain.h"

namespace varnel::verify {

// Called with each signed document read, in the file's order.
using SignedDocumentSink = std::function<void(const SignedDocument&)>;

// Reads file's documents of the three sections into sink, and the Header's
// SoftwareCertificateNumber into certificate. False when stop ended it early;
// a file that cannot be opened or read to its end gives what came before.
// An exception of sink's leaves through here.
bool ReadSignedDocuments(const std::filesystem::path& file, const SignedDocumentSink& sink, std::string& certificate,
                         const std::atomic<bool>& stop);

struct SignatureCheckResult {
  std::vector<Finding> findings;
  bool completed = false;         // false when stopped before the end
  std::uint64_t documents = 0;    // documents of the three sections read
  std::uint64_t checked = 0;      // signatures checked with a key
  std::uint64_t verified = 0;     // ... that verified
};

// Reads file and checks its signatures as setup says. Stops at the next
// block of the file once stop is set (completed false, no findings). A file
// that cannot be opened or read to its end gives what was found before.
// Never throws: a failure inside is one error finding.
SignatureCheckResult CheckSignatures(const std::filesystem::path& file, SignatureChainSetup setup,
                                     const std::atomic<bool>& stop);

// CheckSignatures on a thread of its own, from construction until Await;
// destroyed before Await, it stops the pass and joins it.
class SignatureCheckThread {
 public:
  SignatureCheckThread(std::filesystem::path file, SignatureChainSetup setup);
  ~SignatureCheckThread();
  SignatureCheckThread(const SignatureCheckThread&) = delete;
  SignatureCheckThread& operator=(const SignatureCheckThread&) = delete;

  // Waits for the pass to end, asking aborted every 20 ms (on the caller's
  // thread); when it says true, the pass is stopped and its result is not
  // completed. Call once.
  SignatureCheckResult Await(const std::function<bool()>& aborted);

 private:
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
  SignatureCheckResult m_result;
  std::thread m_thread;
};

}  // namespace varnel::verify
