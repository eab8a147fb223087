#include "dpistore.h"

#include <utility>

#include "registry_dpi.h"

static_assert(dpistore::kChanged == S_OK && dpistore::kNothingToChange == E_NOTIMPL &&
                  dpistore::kNoChangePossible == E_FAIL,
              "the store's results are the system's result codes");

DpiStore::DpiStore()
    : DpiStore(HKEY_CURRENT_USER, dpireg::kRequestKeyA, dpireg::kRequestValueA) {}

DpiStore::DpiStore(HKEY root, std::string keyPath, std::string valueName)
    : m_root(root), m_keyPath(std::move(keyPath)), m_valueName(std::move(valueName)) {}

DpiStore::~DpiStore() = default;

HRESULT DpiStore::StoreDpiChoice(int dpiChoice, double currentDpi) {
  if (!m_writer) {
    m_writer = std::make_unique<DwordRegHelper>(m_root, m_keyPath.c_str(), m_valueName.c_str());
  }
  const dpistore::Plan plan = dpistore::PlanStore(dpiChoice, currentDpi);
  switch (plan.step) {
    case dpistore::Step::kNothingToChange: return E_NOTIMPL;
    case dpistore::Step::kRefuse: return E_FAIL;
    case dpistore::Step::kWrite: break;
  }
  DWORD previous = 0;
  const bool hadPrevious = m_writer->TryRead(previous);
  const bool written = m_writer->Write(plan.dpi) != FALSE;
  if (written) {
    m_previous = previous;
    m_hadPrevious = hadPrevious;
    m_undoable = true;
  }
  return dpistore::ResultOfWrite(written);
}

bool DpiStore::UndoLastStore() {
  if (!m_writer || !m_undoable) return true;
  m_undoable = false;
  return m_hadPrevious ? m_writer->Write(m_previous) != FALSE : m_writer->Delete();
}
