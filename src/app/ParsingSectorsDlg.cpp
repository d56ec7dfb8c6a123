#include "app/ParsingSectorsDlg.h"

#include <QProgressBar>

CParsingSectorsDlg::CParsingSectorsDlg(QWidget* parent) : QDialog(parent) {}
CParsingSectorsDlg::~CParsingSectorsDlg() = default;
bool CParsingSectorsDlg::Create(QWidget*, int) { return true; }
void CParsingSectorsDlg::StepIt() {}
int CParsingSectorsDlg::Position() const { return 0; }
