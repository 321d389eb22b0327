#pragma once
// A fixed-size list of 16 × 16 pictures addressed by index, like the rows' ImageIndex.

#include <vector>

#include <QIcon>

class TImageList {
public:
    static constexpr int Count = 148;
    static constexpr int PictureSize = 16;
    static constexpr int ClosePicture = 3;

    TImageList();
    int count() const { return static_cast<int>(m_icons.size()); }
    // A null icon for an empty slot or an index out of range.
    QIcon icon(int index) const;
    void setIcon(int index, const QIcon& icon);

private:
    std::vector<QIcon> m_icons;
};

// The window's list: close at 3, folder at 40, file at 60, from the icon theme where it has
// them, otherwise drawn here.
TImageList MakeMainImageList();
