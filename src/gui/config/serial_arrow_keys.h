#pragma once
// The up and down arrow keys in a serial-number edit add or subtract one, never going below 1.

class QLineEdit;

void InstallSerialArrowKeys(QLineEdit* edit);
