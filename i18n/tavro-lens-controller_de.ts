<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CustomComboBox</name>
    <message>
        <source>Please select a valid port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (missing)</source>
        <extracomment>The port config.ini names, not there now: its name and, where known, its device.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GamepadControl</name>
    <message>
        <source>Gamepad: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GamepadDialog</name>
    <message>
        <source>Gamepad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the pad control for each action, or click Bind and move or press it on the pad.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pad control for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bind</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bind %1 to the next pad control moved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 inverted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dead zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium speed from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High speed from</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dead zone:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium speed from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High speed from:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No gamepad is connected: choose the control from the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move or press…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move the stick or trigger for %1; click again to keep the control.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press the button or trigger for %1; click again to keep the control.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The gamepad went: choose the control from the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An action and the pad control just bound to it.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>Keyboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamepad: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamepad: SDL2 not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard and gamepad controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About %1</source>
        <extracomment>%1 is the program&apos;s name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Version %2&lt;/p&gt;&lt;p&gt;Qt %3 (built with Qt %4)&lt;/p&gt;&lt;p&gt;%5&lt;/p&gt;</source>
        <extracomment>The program&apos;s name, its version, the Qt it runs on and the one it was built with, the gamepad line.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This build has no gamepad support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Built without gamepad support</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeyboardControl</name>
    <message>
        <source>Zoom tele</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom wide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus far</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus near</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hold %1</source>
        <extracomment>A key combination held down, such as Ctrl+Up.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 … %2</source>
        <extracomment>A range of keys, such as F1 … F10.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call preset 1 … 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set preset 1 … 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>System language</source>
        <translation>Systemsprache</translation>
    </message>
    <message>
        <source>The new language takes effect at the next start.</source>
        <translation>Die neue Sprache gilt ab dem nächsten Start.</translation>
    </message>
</context>
<context>
    <name>LensActions</name>
    <message>
        <source>Moving the zoom…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopping the zoom…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving the focus…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopping the focus…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moving the iris…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopping the iris…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calling preset %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storing preset %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the positions…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Storing in the board…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrating…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Presets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset/Input 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset/Input 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset/Input 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset/input 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lens control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run/Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom wide until STOP; or hold Ctrl+Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom tele until STOP; or hold Ctrl+Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tele</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus far until STOP; or hold Ctrl+Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Far</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus near until STOP; or hold Ctrl+Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Near</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close the iris until STOP; or hold Ctrl+PgDown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the iris until STOP; or hold Ctrl+PgUp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Store in device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long cable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Controller Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Traffic…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live positions while running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gamepad…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard and gamepad controls…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A %1 board answered on this port: choose the controller type &apos;%2&apos;</source>
        <extracomment>%1 is Tavro or Pellan, %2 the controller type as the settings panel lists it.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrating…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuring the board…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking the board…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the positions…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select lens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus Lens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Store presets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a valid serial port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No lens controller board detected on this serial port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Success: Lens controller board detected on this serial port!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select lens!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select controller</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OperationProgressDialog</name>
    <message>
        <source>Waiting for the board to answer…</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n s left</source>
        <extracomment>Seconds until the board is ready again after a pause it needs.</extracomment>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PadLayout</name>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call preset %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sticks</source>
        <extracomment>How the sticks drive: %1, %2 and %3 are percentages of their travel.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rest within %1 % of their travel; low speed up to %2 %, medium up to %3 %, high beyond</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left stick right / left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left stick left / right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left stick up / down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left stick down / up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right stick right / left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right stick left / right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right stick up / down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right stick down / up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left trigger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left trigger, inverted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right trigger</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right trigger, inverted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start (Menu)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left stick pressed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right stick pressed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left shoulder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right shoulder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-pad up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-pad down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-pad left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D-pad right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paddle 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paddle 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paddle 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paddle 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Touchpad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom tele / wide while pushed, the further the faster</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus far / near while pushed, the further the faster</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris open / close while pushed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris open while held</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iris close while held</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom −</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus −</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetSpeedMenu</name>
    <message>
        <source>Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Medium</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Panel speed</source>
        <extracomment>A preset called at the Zoom speed and Focus speed of the settings panel.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed of preset %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moves the lens to preset %1 at: %2. Right click, the menu key or Shift+F10 choose the speed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset %1 speed: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialTransaction</name>
    <message>
        <source>Could not write the frame to serial port: %1
Check that the board is still connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open serial port: %1
Check that the port is not used by another application.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>process ID %1</source>
        <extracomment>The program that holds the serial port, after its name.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In use by another program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On Linux, serial devices are usually open to the members of the group dialout: add your user to it (sudo adduser $USER dialout), then log out and in again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>the system refused the write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: %2.

The choices made in this window will not be kept. Start the program from a folder you may write to.</source>
        <extracomment>%1 is the file, %2 the system&apos;s reason.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SliderInput</name>
    <message>
        <source>Left, Right, Up, Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On a slider: a step of a hundredth of the range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Up, Page Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On a slider: ten steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On a slider: to either end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse wheel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over a slider: a step per notch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A slider&apos;s new position goes out %1 ms after the last step, once the key is let go.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrafficModel</name>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Board</source>
        <extracomment>The board type, Tavro or Pellan.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sent</source>
        <extracomment>The frame sent to the board, in hex.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Meaning</source>
        <extracomment>What the frame beside it means, the one sent or the reply.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Received</source>
        <extracomment>The board&apos;s reply, in hex.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Outcome</source>
        <extracomment>How the exchange went: OK, no reply and the like.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
        <extracomment>Milliseconds from the frame&apos;s writing to the reply&apos;s last byte.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrafficWindow</name>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused: new exchanges are kept but not shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 copied.</source>
        <extracomment>%1 is a count of rows, such as &quot;3 rows&quot;.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 saved to %2.</source>
        <extracomment>%1 is a count of rows, %2 the file.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not save to %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the traffic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 row</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n rows</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
</context>
</TS>
