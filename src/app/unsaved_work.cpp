// The modified state is the store's change counter against the count at the
// last load or save; every edit bumps the counter (see model_store.h and the
// main loop, which counts every raised normalsDirty as an edit).
#include "app/unsaved_work.h"

#include "app/text_prompt.h"
#include "core/messages.h"
#include "model/file_paths.h"
#include "render/shading.h"

namespace qelvar {

bool ModelModified(const Modeller& m) { return m.model.revision != m.savedRevision; }

void MarkModelSaved(Modeller& m) {
  if (m.model.normalsDirty) {
    ComputeNormals(m.model, m.buffers);
    m.model.normalsDirty = false;
    m.flags.redrawRequested = true;
  }
  m.savedRevision = m.model.revision;
}

bool AskYes(Modeller& m, std::string_view question) {
  const std::string answer = AskText(m, question);
  m.flags.screenDirty = 1;
  if (answer == "y" || answer == "Y") return true;
  m.flags.statusMessage = kMsgCanceled;
  return false;
}

bool ConfirmDropWork(Modeller& m, std::string_view question) {
  return !ModelModified(m) || AskYes(m, question);
}

bool ConfirmOverwrite(Modeller& m, const std::string& path) {
  if (!PathExists(path) || SameFile(path, m.ownFilePath)) return true;
  return AskYes(m, kOverwriteQuestion);
}

void RequestQuit(Modeller& m) {
  if (!ModelModified(m) || m.flags.quitQuestionShown) m.platform.EndProgram();
  m.flags.quitQuestionShown = true;
  const bool quit = AskYes(m, kQuitQuestion);
  m.flags.quitQuestionShown = false;
  if (quit) m.platform.EndProgram();
}

std::string WindowTitle(const Modeller& m) {
  return std::string("qelvar - ") + (ModelModified(m) ? "*" : "") + m.modelFileName;
}

}  // namespace qelvar
