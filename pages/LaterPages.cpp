// The main controls, the impulse-response page and the overlay pages are
// built in a later step. Until then these stretches add nothing: the panel
// holds the front panel and the effect pages, and the radio buttons of the
// effect pages do nothing when pressed.

#include "device/OmnarControl.h"

void OmnarControl::LayoutMainControls(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutIRPage(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutDeviceStatusPages(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutCustomIRList(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutGlobalSettingsPage(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutMidiPages(omnar::pages::PageBuilder&) {}
void OmnarControl::LayoutAboutAndProgressPages(omnar::pages::PageBuilder&) {}

void OmnarControl::OnReverbRadio(int) {}
void OmnarControl::OnAmpRadio(int) {}
