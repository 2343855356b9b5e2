#pragma once
// The program's one printer: every "列印設定" sets it up and every report prints on it, so a
// choice made in one window holds for the next job anywhere.

class QPrinter;

namespace ruto {

// Created on first use, lives until the program ends.
QPrinter& SharedPrinter();

// False while the printer has nowhere to print: the system's printer with none known, or a
// file with no name (how a machine without printers starts). A job started on it fails and
// leaves the printer taken for the rest of the run: no set-up could change it and no later job
// could start, a file chosen in the set-up included. Callers report the job as not started
// instead of starting it.
bool SharedPrinterCanStart();

}  // namespace ruto
