// The program's windows on a data folder, made as the program makes them and attached as it
// attaches them (see ui/main.cpp): the main window with its progress window, shown at once,
// which builds the list tree; the search, new-list and duplicates windows beside it. The window
// tests start them through UiFixture, the window benchmarks directly; neither needs GoogleTest for
// it.
#pragma once

#include "ui/Process_u/TfProcess.h"
#include "ui/Vypisnik_u/TfLV.h"
#include "ui/duplicates_u/TfDuplicates.h"
#include "ui/find_u/TfFind.h"
#include "ui/new_list_u/TfNewList.h"

#include <QApplication>

#include <memory>

namespace vyp::test {

// The windows of one run of the program, closed in the order that works: the windows beside
// the main window first (they work with what it lends them), then the main window, then its
// progress window.
struct RunningWindows {
    RunningWindows() = default;
    RunningWindows(const RunningWindows&) = delete;
    RunningWindows& operator=(const RunningWindows&) = delete;
    ~RunningWindows() { Close(); }

    void Close() {
        find.reset();
        newList.reset();
        duplicates.reset();
        main.reset();
        progress.reset();
    }

    std::unique_ptr<TfProcess> progress;
    std::unique_ptr<TfLV> main;
    std::unique_ptr<TfFind> find;
    std::unique_ptr<TfNewList> newList;
    std::unique_ptr<TfDuplicates> duplicates;
};

// Creates the main window over environment, gives it progress (if any) and shows it; returns
// once the start-up (the tree's build, the restored geometry) has run.
inline std::unique_ptr<TfLV> StartMainWindow(MainWindowEnvironment environment,
                                             TfProcess* progress) {
    auto window = std::make_unique<TfLV>(std::move(environment));
    window->SetProgressWindow(progress);
    window->show();
    QApplication::processEvents();
    return window;
}

// The search window of main, attached to it and shown.
inline std::unique_ptr<TfFind> OpenSearchWindow(TfLV& main) {
    auto window = std::make_unique<TfFind>(main.Context(), main);
    main.SetSearchWindow(window.get());
    window->show();
    QApplication::processEvents();
    return window;
}

// The new-list window of main, attached to it, hidden until its command shows it.
inline std::unique_ptr<TfNewList> AttachNewListWindow(TfLV& main) {
    auto window = std::make_unique<TfNewList>(main.Context());
    QObject::connect(window.get(), &TfNewList::RefreshListsRequested, &main, &TfLV::RefreshLists);
    main.SetNewListWindow(window.get());
    return window;
}

// The duplicates window of main, attached to it, hidden until its command shows it.
inline std::unique_ptr<TfDuplicates> AttachDuplicatesWindow(TfLV& main) {
    auto window = std::make_unique<TfDuplicates>(main.Context(), main);
    main.SetDuplicatesWindow(window.get());
    return window;
}

} // namespace vyp::test
