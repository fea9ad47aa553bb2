#pragma once

class Form2;

// The settings windows of the main window's "&Settings" menu. Each opens once: asking again
// brings the open one to the front. A window opened anew starts from the stored settings.
void showCommunicationSettings(Form2 &main); // Form3, modeless
void showDisplayColours(Form2 &main);        // frmColor, modal
void showPreferences(Form2 &main);           // frmPreferences, modeless
