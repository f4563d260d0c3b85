// Shared pieces of the window tests: a settings folder of the test's own, a
// window built over it with a fixed "today", error boxes and questions
// recorded instead of shown (each question answered as the test says),
// folders "opened" into a list, a scripted run that drives the observer as a
// test tells it, and a key press delivered where the platform delivers it
// (the focus widget).
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/_main.h"

namespace varnel::testing {

struct ErrorBox {
  QString caption;
  QString text;
};

// A run that plays a script against the observer instead of exporting.
class ScriptedRun : public ExportRunner {
 public:
  using Script = std::function<void(ExportObserver& observer, ScriptedRun& run)>;
  ScriptedRun(Script script, std::vector<ExportRequest>& requests)
      : m_script(std::move(script)), m_requests(requests) {}
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer) override {
    m_requests.push_back(request);
    m_script(observer, *this);
    return outcome;
  }
  void requestAbort() override { abort_requested = true; }

  bool abort_requested = false;
  RunOutcome outcome = RunOutcome::Completed;  // what the run reports at its end

 private:
  Script m_script;
  std::vector<ExportRequest>& m_requests;
};

class WindowFixture {
 public:
  WindowFixture() { QVERIFY(m_dir.isValid()); }

  QString path(const QString& name) const { return m_dir.filePath(name); }
  std::filesystem::path directory() const { return m_dir.path().toStdString(); }

  void write_file(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
  }
  QByteArray read_file(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Options for a window over this folder, counting from today; error boxes
  // go to error_boxes. A script, when given, replaces the real run.
  TmainOptions options(DateTime today = DateTime::FromDate(2016, 1, 15), ScriptedRun::Script script = {}) {
    TmainOptions result;
    result.directory = directory();
    result.today = today;
    result.message_box = [this](const QString& caption, const QString& text) {
      error_boxes.push_back({caption, text});
    };
    result.confirm = [this](const QString& caption, const QString& text) {
      questions.push_back({caption, text});
      return answer;
    };
    result.open_folder = [this](const QString& folder) { opened_folders.push_back(folder); };
    if (script) {
      result.create_run = [this, script](PosDatabase&) { return std::make_unique<ScriptedRun>(script, requests); };
    }
    return result;
  }

  std::vector<ErrorBox> error_boxes;
  std::vector<ErrorBox> questions;      // yes/no questions asked, answered with answer
  bool answer = true;
  std::vector<QString> opened_folders;  // folders "Abrir pasta" opened
  std::vector<ExportRequest> requests;  // one per run the window started

 private:
  QTemporaryDir m_dir;
};

template <typename T>
T* Child(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(name);
  if (!child) qFatal("no widget named %s", name);
  return child;
}

// Shows the window and waits until it is active, so keys reach its focus widget.
inline bool ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  return QTest::qWaitForWindowActive(&window);
}

// A key press sent to the focus widget, as typing does.
inline void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) qFatal("no focus widget");
  QTest::keyClick(focus, key, modifiers);
}

}  // namespace varnel::testing
