// Linux shows no error box for an empty drive: an access to it simply fails.
#include "platform/NoDriveErrorBoxes.h"

namespace vyp {

NoDriveErrorBoxes::NoDriveErrorBoxes() = default;
NoDriveErrorBoxes::~NoDriveErrorBoxes() = default;

} // namespace vyp
