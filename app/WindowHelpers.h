#pragma once

class QWidget;

// Esc (character 27) closes every window of the program.
void closeOnEscape(QWidget *window);
