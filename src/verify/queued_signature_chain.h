// A SignatureChain on a thread of its own, fed through a queue by another
// reader of the file: the verifier's own pass hands over each document's
// signed values as it closes the document, and the RSA checks, the costly
// part, run beside it. Documents travel in batches; when the checks fall
// behind, the reader waits for room (a few batches at most are held), so
// memory stays flat. Findings come back at Finish, in the chain's order.
// Without keys there is nothing costly to check (only the Hash "0" and
// HashControl rules and the note that no key was given): the chain then
// runs on the reader's thread, and no thread is started.
//
// States: feeding (Add, SetCertificateNumber) -> Finish (the queue drained,
// the thread joined, the findings handed over) or destruction before
// Finish (the queue dropped, the thread stopped and joined: an abort).
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "verify/signature_chain.h"

namespace varnel::verify {

class QueuedSignatureChain {
 public:
  static constexpr std::size_t kBatch = 256;       // documents handed over at once
  static constexpr std::size_t kBatchesHeld = 8;   // the reader waits beyond this

  explicit QueuedSignatureChain(SignatureChainSetup setup);
  ~QueuedSignatureChain();
  QueuedSignatureChain(const QueuedSignatureChain&) = delete;
  QueuedSignatureChain& operator=(const QueuedSignatureChain&) = delete;

  // The Header's SoftwareCertificateNumber; any time before Finish.
  void SetCertificateNumber(std::string_view number);
  // The next document, in the file's order.
  void Add(SignedDocument document);
  // Waits for every document to be checked; the chain's findings. Call once.
  std::vector<Finding> Finish();

  std::uint64_t signatures_checked() const { return m_checked; }
  std::uint64_t signatures_verified() const { return m_verified; }

 private:
  void Hand(std::vector<SignedDocument> batch);
  void Work();

  bool m_on_reader_thread;  // no keys: checked as added (declared before m_chain takes the setup)
  SignatureChain m_chain;
  std::vector<SignedDocument> m_batch;  // being filled by the reader
  std::string m_certificate;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::vector<SignedDocument>> m_queue;
  bool m_closed = false;   // no more batches will come
  bool m_stopped = false;  // drop what is left
  std::string m_failure;   // what ended the checks early, if anything
  std::uint64_t m_checked = 0;
  std::uint64_t m_verified = 0;
  std::thread m_thread;  // started last, once the rest is ready
};

}  // namespace varnel::verify
