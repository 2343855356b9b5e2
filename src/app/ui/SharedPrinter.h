#pragma once
// The program's one printer: every "列印設定" sets it up and every report prints on it, so a
// choice made in one window holds for the next job anywhere.

class QPrinter;

namespace ruto {

// Created on first use, lives until the program ends.
QPrinter& SharedPrinter();

}  // namespace ruto
