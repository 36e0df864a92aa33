// The engine's start-up step. Each layer of the engine drives the one above it through an
// interface of its own (a skin data component its manager, the manager its form skinners); the
// program hands the parts down here, once, before the first skin data component loads (before
// the form that holds one is made). FreeSkinManager ends the engine after the message loop.
//
//   Application->Initialize();
//   InstallSkinEngine();
//   Application->CreateForm(Form1);  // its skin data component starts the skinning
#pragma once

void InstallSkinEngine();
