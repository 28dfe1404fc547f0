#pragma once
// The about box: the program's name, its version and the maker's notice.
#include <QWidget>

class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent);
};
