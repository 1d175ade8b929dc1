// Typesets the owner's manual of the editor as a multi-page PDF, with
// pictures of the editor composed from the rasterised artwork.
//
// Usage: kr7_make_manual <output.pdf> <folder of rasterised images>

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>
#include <string>

#include "tools/compose/MainPageComposer.h"
#include "tools/manual/Typesetter.h"

namespace {

using kr7::tools::EditorBlock;
using kr7::tools::PageState;
using kr7::tools::Typesetter;

// Shows a part of the composed main page: (x, y, width, height) in design units.
std::function<void(cairo_t*)> Crop(const std::string& dir, PageState state, double x, double y) {
  return [dir, state, x, y](cairo_t* cr) {
    cairo_translate(cr, -x, -y);
    kr7::tools::ComposeMainPage(cr, dir, state);
  };
}

std::function<void(cairo_t*)> Overlay(const std::string& dir, const std::string& image, double x, double y) {
  return [dir, image, x, y](cairo_t* cr) {
    cairo_translate(cr, -x, -y);
    kr7::tools::ComposeMainPage(cr, dir, PageState{});
    kr7::tools::DrawImage(cr, dir + "/" + image, 0, 0);
  };
}

void Write(Typesetter& t, const std::string& dir) {
  t.Title("KR7Control Owner's Manual", "The editor for the Valvora KR7 amp-modelling floor pedal - version 1.2.0");
  t.Paragraph(
      "KR7Control shows your KR7 on the screen and lets you change every sound of the pedal while you play. "
      "Each turn of a knob reaches the pedal at once, and what you change on the pedal itself appears in the "
      "window. Beyond live editing the editor keeps a copy of all 128 presets, manages the cabinet impulse "
      "responses, edits the pedal's global settings and MIDI maps, writes the factory bank and updates the firmware.");
  t.Picture(1920, 1200, "The main page: preset list, device strip, the pedal and the block editor.",
            Crop(dir, PageState{}, 0, 0));
  t.Heading("Contents");
  for (const char* s : {"1  Connecting the pedal", "2  The main page", "3  Presets and the preset cache",
                        "4  Impulse responses", "5  Bank operations", "6  Global settings and MIDI maps",
                        "7  Firmware update", "8  Troubleshooting"}) {
    t.Bullet(s);
  }
  t.NewPage();

  t.Heading("1  Connecting the pedal");
  t.Paragraph(
      "Connect the KR7 to the computer with a USB cable and start KR7Control. Choose the pedal's MIDI input and "
      "output ports under File > MIDI Settings... (Ctrl+,). The editor also needs a working audio output device: "
      "its audio stream carries the pedal's messages into the program. If no sound card can be opened the editor "
      "says \"Please check your soundcard settings in Preferences\".");
  t.Paragraph(
      "While it looks for the pedal, the device strip at the top reads \"Connecting to the device...\" and the "
      "pedal on the screen is dimmed. Once the pedal answers, the strip shows its version and serial number, the "
      "editor compares its preset copies with the pedal and fetches only the presets that changed. RECONNECT "
      "starts this handshake again at any time.");
  t.Picture(1920, 90, "The device strip with the RECONNECT button and the three status lines.",
            Crop(dir, PageState{}, 0, 0));

  t.Heading("2  The main page");
  t.Paragraph(
      "The pedal in the middle works like the real one. The top row holds DRIVE, LOW, MID, HIGH and REVERB; "
      "below them LEVEL, GATE and FILTER. Drag a knob up or down to turn it; hold Shift or Ctrl for fine steps; "
      "the mouse wheel moves one step per notch and a double-click restores the default.");
  t.Picture(980, 560, "The pedal: eight knobs, the two-digit preset display, SAVE and the four footswitches.",
            Crop(dir, PageState{}, 650, 80));
  t.Bullet("UP and DOWN step through the presets; holding one repeats. The preset is selected when you let go.");
  t.Bullet("SELECT arms preset selection: the display blinks, UP and DOWN choose a slot, SELECT again loads it.");
  t.Bullet("SAVE arms storing: choose the target slot with UP and DOWN or in the list, then press SAVE again.");
  t.Bullet("FILTER switches the auto filter; its LED shows when it is on.");
  t.Paragraph(
      "Touching a control of an effect opens its block in the editor area below the pedal. The ten amplifier "
      "buttons of the DRIVE block and the seven ambience buttons of the AMBIENCE block load a complete amp model "
      "or room in one click.");
  t.Picture(900, 520, "The DRIVE block with the amplifier models and the PRE-AMP, PRESENCE and COMPRESSION knobs.",
            Crop(dir, PageState{EditorBlock::Drive, true, 12}, 330, 640));
  t.Picture(900, 520, "The AMBIENCE block: room, hall, spring, plate, chorus, echo and echoverb.",
            Crop(dir, PageState{EditorBlock::Ambience, true, 12}, 330, 640));

  t.Heading("3  Presets and the preset cache");
  t.Paragraph(
      "The column on the left lists the pedal's 128 presets. Click a row to select that preset; scroll with the "
      "bar or the mouse wheel. The name field above the list shows the current preset's name: click it, type a "
      "new name and press Enter to store the preset under that name.");
  t.Paragraph(
      "EXPORT writes the current preset to a single-preset file (.r3p), together with the user impulse responses "
      "it uses; IMPORT loads such a file into the editor as the current, modified preset. A modified preset is "
      "shown with a dimmed number until you store it with SAVE.");
  t.Paragraph(
      "The editor keeps a copy of every preset in your user folder (KR7Control\\Presets). At each connection only "
      "the presets whose checksum differs from the pedal's are fetched again. File > Clear Cache Data removes the "
      "copies; they are rebuilt at the next connection.");
  t.Picture(310, 1120, "The preset column: name field, IMPORT and EXPORT, the list and its scroll bar.",
            Crop(dir, PageState{}, 0, 80));

  t.Heading("4  Impulse responses");
  t.Paragraph(
      "The KR7 simulates the speaker cabinet with an impulse response. The IR block lists the flat response and "
      "the eight factory cabinets: VALVORA, BLONDE 2x12, TWEED 4x10, CALI 1x12, CALI 4x12, BLUE 2x12, BRIT 2x12 "
      "and BOUTIQUE 4x12. The microphone slider on the left moves the microphone across the speaker; the graph "
      "on the right shows the frequency response of the chosen cabinet.");
  t.Picture(1540, 540, "The impulse-response block and the response graph.",
            Crop(dir, PageState{}, 340, 640));
  t.Paragraph(
      "Positions 7 and 8 can play your own impulse responses. Switch MODE to user, click IMPORT and choose a WAV "
      "file (8, 16, 24 or 32-bit PCM or 32-bit float, any sample rate, mono or stereo). The editor converts it to "
      "the pedal's format, sets its loudness, stores a copy and uploads it to the pedal. The GAIN knob trims its level.");

  t.Heading("5  Bank operations");
  t.Bullet("File > Export All Presets from KR7 ... saves all 128 presets and the user impulse responses they use "
           "into one file (.r3b).");
  t.Bullet("File > Import All Presets to KR7... writes such a file back into the pedal. It overwrites the presets "
           "on the pedal; the editor asks before it starts and reconnects when it is done.");
  t.Bullet("File > Factory Presets Update... writes the factory bank carried by the editor into the pedal and "
           "resets the pedal to its factory settings.");
  t.Paragraph("A progress ring shows how far a transfer has come. Keep the pedal connected until it reaches 100 %.");

  t.Heading("6  Global settings and MIDI maps");
  t.Paragraph(
      "File > KR7 Global Settings... opens the settings page: patch offset, knob display mode, disengage all pots, "
      "preset protection, tuner frequency and detune, MIDI mapping, MIDI thru, control-change mode and channel, "
      "and cabinet bypass. Each change is sent to the pedal at once. Close the page with X or by clicking below it.");
  t.Picture(1920, 1080, "The global settings page lies over the main page.",
            Overlay(dir, "globalbg.png", 0, 0));
  t.Paragraph(
      "SETUP beside MIDI CC MODE assigns a control-change number to each pedal knob (DRIVE, LOW, MID, HIGH, "
      "REVERB, GATE, FILTER, LEVEL). SETUP beside MIDI MAPPING maps the program numbers of your MIDI controller "
      "to the pedal's presets. BACK sends the map to the pedal and returns to the settings. The buttons ALL, "
      "PRESETS and SETTINGS reset the pedal to its factory state after a confirmation.");

  t.Heading("7  Firmware update");
  t.Paragraph(
      "File > Firmware Update... opens the firmware page. Download the newest firmware file (.bin) from the "
      "address shown, click UPDATE FIRMWARE and choose the file. The ring shows the progress; do not unplug the "
      "pedal while it runs. When the update has finished, the editor reconnects. Close the page with X.");
  t.Picture(1920, 1080, "The firmware page.", Overlay(dir, "fwbg.png", 0, 0));

  t.Heading("8  Troubleshooting");
  t.Bullet("The status stays at \"Connecting to the device...\": check the cable, the MIDI ports under MIDI "
           "Settings and the sound card; then click RECONNECT.");
  t.Bullet("\"Communication error!\": a transfer was refused by the pedal. Reconnect and start it again.");
  t.Bullet("\"Unknown file format.\": the chosen file is not a KR7 preset file.");
  t.Bullet("The preset list shows old names: use File > Clear Cache Data and reconnect.");
  t.Bullet("A user impulse response sounds too quiet or too loud: adjust its GAIN knob in the IR block.");
  t.Paragraph("Help > Read Manual opens this document; Help > About shows the editor's version.");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output.pdf> <image folder>\n", argv[0]);
    return 2;
  }
  cairo_surface_t* surface = cairo_pdf_surface_create(argv[1], 595.0, 842.0);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "KR7Control Owner's Manual");
  cairo_t* cr = cairo_create(surface);
  Typesetter t(cr);
  Write(t, argv[2]);
  t.NewPage();
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok ? 0 : 1;
}
