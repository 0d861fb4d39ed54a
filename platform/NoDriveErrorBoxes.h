// While one exists, the system shows no error box of its own for a drive without a medium (the
// "insert a disc" box of an empty CD drive): the access fails instead, and the caller decides.
// The folder dialog keeps one while it is open, since it looks at every drive. Windows changes
// the process's error mode and restores it at the end; other systems show no such boxes.
#pragma once

namespace vyp {

class NoDriveErrorBoxes {
public:
    NoDriveErrorBoxes();
    ~NoDriveErrorBoxes();
    NoDriveErrorBoxes(const NoDriveErrorBoxes&) = delete;
    NoDriveErrorBoxes& operator=(const NoDriveErrorBoxes&) = delete;

private:
    [[maybe_unused]] unsigned m_previousMode = 0; // read only by the Windows implementation
};

} // namespace vyp
