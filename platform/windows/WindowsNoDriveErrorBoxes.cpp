#include "platform/NoDriveErrorBoxes.h"

#include "platform/windows/WindowsApi.h"

namespace vyp {

NoDriveErrorBoxes::NoDriveErrorBoxes() {
    // The previous mode is kept whole and the flag added, so flags set elsewhere stay set.
    m_previousMode = ::GetErrorMode();
    ::SetErrorMode(m_previousMode | SEM_FAILCRITICALERRORS);
}

NoDriveErrorBoxes::~NoDriveErrorBoxes() {
    ::SetErrorMode(m_previousMode);
}

} // namespace vyp
