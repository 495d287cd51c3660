#pragma once
// How the outcome of "arp -n ADDR" reads: a text for the name cell, or a MAC address to be
// named. Pure: safe on any thread.

#include <QString>

struct ArpReading {
    bool isMac = false;  // text is a MAC address (still to be looked up), else the cell's text
    QString text;
};

// Status 1 gives the empty text, another non-zero status "error. (N)"; with status 0 an output
// holding "no entry" gives "no entry.", one holding "incomplete" gives "incomplete.", and any
// other output the trimmed text between the first "at" and the next "on".
ArpReading ReadArpOutcome(int exitStatus, const QString& output);
