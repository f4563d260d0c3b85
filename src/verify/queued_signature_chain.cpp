// The queue between the reader and the checking thread: one mutex and one
// condition for both directions (room for the reader, batches or the end
// for the checker). A failure inside the checks stops them and becomes one
// error finding at Finish, instead of ending the program on the thread.
#include "verify/queued_signature_chain.h"

#include <exception>
#include <utility>

#include "verify/signature_keys.h"

namespace varnel::verify {

QueuedSignatureChain::QueuedSignatureChain(SignatureChainSetup setup)
    : m_on_reader_thread(setup.keys == nullptr || setup.keys->empty()), m_chain(std::move(setup)) {
  if (m_on_reader_thread) return;
  m_batch.reserve(kBatch);
  m_thread = std::thread([this] { Work(); });
}

QueuedSignatureChain::~QueuedSignatureChain() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_stopped = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

void QueuedSignatureChain::SetCertificateNumber(std::string_view number) { m_certificate = number; }

void QueuedSignatureChain::Add(SignedDocument document) {
  if (m_on_reader_thread) {
    if (!m_failure.empty()) return;
    try {
      m_chain.Add(document);
    } catch (const std::exception& error) {
      m_failure = error.what();
    }
    return;
  }
  m_batch.push_back(std::move(document));
  if (m_batch.size() < kBatch) return;
  Hand(std::exchange(m_batch, {}));
  m_batch.reserve(kBatch);
}

void QueuedSignatureChain::Hand(std::vector<SignedDocument> batch) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_queue.size() < kBatchesHeld || m_stopped; });
  if (m_stopped) return;  // the checks ended early: nothing more is wanted
  m_queue.push_back(std::move(batch));
  lock.unlock();
  m_changed.notify_all();
}

void QueuedSignatureChain::Work() {
  for (;;) {
    std::vector<SignedDocument> batch;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
      if (m_stopped || m_queue.empty()) return;
      batch = std::move(m_queue.front());
      m_queue.pop_front();
    }
    m_changed.notify_all();
    try {
      for (const SignedDocument& document : batch) m_chain.Add(document);
    } catch (const std::exception& error) {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_failure = error.what();
        m_stopped = true;
      }
      // A reader waiting for room must hear of it, or it would wait forever
      // on a queue no one empties.
      m_changed.notify_all();
      return;
    }
  }
}

std::vector<Finding> QueuedSignatureChain::Finish() {
  if (!m_batch.empty()) Hand(std::exchange(m_batch, {}));
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable()) m_thread.join();
  m_checked = m_chain.signatures_checked();
  m_verified = m_chain.signatures_verified();
  m_chain.SetCertificateNumber(m_certificate);
  std::vector<Finding> findings = m_chain.Finish();
  if (!m_failure.empty()) {
    findings.push_back({FindingSeverity::Error, "Ficheiro", "",
                        "A verificação das assinaturas parou por um erro interno: " + m_failure});
  }
  return findings;
}

}  // namespace varnel::verify
