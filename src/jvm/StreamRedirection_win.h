#pragma once

class Launcher;

// Points System.out and System.err at the configured output and error files.
// Runs on the VM thread right after the VM exists; a failure leaves the
// stream as it was and never fails the start.
void redirectStandardStreams(Launcher& launcher);
