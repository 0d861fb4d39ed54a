// The record behind a node of the main window's list tree or a row of its file table, as the
// handlers see it. Paths stay bytes; only what is shown is text. The grid itself stores only a
// compact key per node; a TNodeRec is made from the list data when a handler asks, so a million
// folder nodes cost no million records. A node's kind is ListTree's to tell.
#pragma once

#include <QString>

#include <string>

namespace vyp {

struct TNodeRec {
    std::string Path; // bytes as stored: the list file's path, or the folder's relative path
    QString Caption;
    QString SizeText;
    QString DateText;
    QString TimeText;
    int ImageIndex = 0; // the picture, and in the list tree the node's kind
    int ListIndex = -1; // the list in the registry; -1 for group nodes
};

} // namespace vyp
