// The commands through which game code reads the keyboard, the mouse and
// joysticks, waits for input and lets the player type a line. Numbers arrive
// as doubles and are truncated toward zero; results are doubles or texts.
#pragma once

#include "runtime/values/RtString.h"

// Keyboard and mouse.
double KeyState(double keyCode);  // 1 while the key is held; the code's low 8 bits count
void ReadMouse(double& x, double& y, double& left,
               double& right);       // position clamped to the screen and kept
double ReadMouseAxis(double index);  // 0 dx, 1 dy, 2 wheel (-1, 0, 1), 3 left, 4 right, 5 middle
void SetMousePosition(double x,
                      double y);      // the program's mouse position; the system pointer stays
void ShowMousePointer(double shown);  // shown: the pointer shared; 0: captured
RtString TypedChar();                 // a newly typed character, or ""

// Joysticks, numbered from 0; an index without a joystick gives 0.
double JoystickX(double index);     // -1..1
double JoystickY(double index);     // -1..1
double JoystickZ(double index);     // -1..1
double JoystickRX(double index);    // -1..1, the rotation about X
double JoystickRY(double index);    // -1..1
double JoystickRZ(double index);    // -1..1
double JoystickHatX(double index);  // first hat: -1 left, 1 right, 0 otherwise (diagonals too)
double JoystickHatY(double index);  // first hat: -1 up, 1 down, 0 otherwise
void ReadJoystick(double& x, double& y, double& button1,
                  double& button2);   // joystick 0: -1, 0, 1 and buttons 0 or 128
RtString JoystickName(double index);  // "" for an unknown index
double JoystickCount();
void JoystickRumble(double index, double seconds, double xForce, double yForce);  // forces -1..1

// Waiting and text entry: these keep the program alive while they wait.
void IdleForInput();       // returns on any input activity, or after about 75 ms
void WaitForKey();         // a newly pressed key that types a character
void WaitForMouseClick();  // a button pressed (one held on entry must be released first)
void InputText(RtString& text, double x, double y);    // edits the text at (x, y) until Return
void InputNumber(double& number, double x, double y);  // a typed line read as a number; "" gives 0
