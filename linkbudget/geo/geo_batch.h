// The GEO batch link budget: the settings its dialog keeps between uses
// (one block of the stored dialog values, byte for byte) and the command
// that starts the external batch processor from them.  Free of Qt.
#pragma once

#include <string>
#include <vector>

#include "framework/forms/record_fields.h"

#pragma pack(push, 1)

struct GeoBatchSettings {
    char executable[261];       // "Path to Orbiscope.exe"
    char inputFile[261];        // "Input filename"
    char outputBase[261];       // "Base output filename"
    ButtonState csv;            // "CSV": comma-separated output, else tabbed text
    ButtonState includeInput;   // "Include input values"
    ButtonState quiet;          // "Quiet": no message boxes from the processor
    ButtonState hideTerminal;   // "Hide cmd.exe window"
};

#pragma pack(pop)

static_assert(sizeof(GeoBatchSettings) == 791);

// What "Clear" leaves: no names, only "Include input values" ticked.
GeoBatchSettings ClearedGeoBatchSettings();

// The processor and its arguments, one string each, never joined into a
// line that a shell would split again: the input file, the base output
// name, then one switch per ticked box.
struct BatchCommand {
    std::string program;
    std::vector<std::string> arguments;
    bool hideTerminal = false;  // no terminal: its output goes nowhere
};

BatchCommand BatchCommandFor(const GeoBatchSettings& settings);
