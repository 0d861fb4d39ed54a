// A list of small pictures addressed by index, shared by the tables that draw from it. Pictures
// are only ever appended, so an index stays valid for the whole run.
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

namespace vyp {

class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QSize size, QObject* parent = nullptr) : QObject(parent), m_size(size) {}

    // Appends a picture; returns its index, or -1 when icon has no picture to add.
    int Add(const QIcon& icon);
    int Count() const { return static_cast<int>(m_icons.size()); }
    // The picture at index, or a null icon for an index outside the list.
    QIcon At(int index) const;

private:
    QSize m_size;
    QList<QIcon> m_icons;
};

// The picture name of the resources as an icon of size x size pixels, with the copies the build
// drew for screens of 150 % and 200 %, so it stays sharp there.
QIcon PictureIcon(const QString& name, int size);

} // namespace vyp
