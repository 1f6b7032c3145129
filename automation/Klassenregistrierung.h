#pragma once
// The engine's public classes by program identifier, for the class registry of
// platform/automation: what a host may create, in process (automation::createObject) or over
// the bus from the skrivant program.

// Registers every public class of the engine. Call once at start, on the main thread.
void KlassenRegistrieren();
