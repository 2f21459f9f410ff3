<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CustomComboBox</name>
    <message>
        <source>Please select a valid port</source>
        <translation>Gültige Schnittstelle wählen</translation>
    </message>
    <message>
        <source>%1 (missing)</source>
        <extracomment>The port config.ini names, not there now: its name and, where known, its device.</extracomment>
        <translation>%1 (fehlt)</translation>
    </message>
</context>
<context>
    <name>GamepadControl</name>
    <message>
        <source>Gamepad: %1</source>
        <translation>Gamepad: %1</translation>
    </message>
</context>
<context>
    <name>GamepadDialog</name>
    <message>
        <source>Gamepad</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>Choose the pad control for each action, or click Bind and move or press it on the pad.</source>
        <translation>Wählen Sie für jede Aktion das Bedienelement des Pads, oder klicken Sie auf „Zuweisen“ und bewegen oder drücken Sie es am Pad.</translation>
    </message>
    <message>
        <source>Pad control for %1</source>
        <translation>Pad-Bedienelement für %1</translation>
    </message>
    <message>
        <source>Bind</source>
        <translation>Zuweisen</translation>
    </message>
    <message>
        <source>Bind %1 to the next pad control moved</source>
        <translation>%1 dem nächsten bewegten Pad-Bedienelement zuweisen</translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation>Umgekehrt</translation>
    </message>
    <message>
        <source>%1 inverted</source>
        <translation>%1 umgekehrt</translation>
    </message>
    <message>
        <source>Dead zone</source>
        <translation>Totzone</translation>
    </message>
    <message>
        <source>Medium speed from</source>
        <translation>Mittlere Geschwindigkeit ab</translation>
    </message>
    <message>
        <source>High speed from</source>
        <translation>Hohe Geschwindigkeit ab</translation>
    </message>
    <message>
        <source>Dead zone:</source>
        <translation>Totzone:</translation>
    </message>
    <message>
        <source>Medium speed from:</source>
        <translation>Mittlere Geschwindigkeit ab:</translation>
    </message>
    <message>
        <source>High speed from:</source>
        <translation>Hohe Geschwindigkeit ab:</translation>
    </message>
    <message>
        <source>No gamepad is connected: choose the control from the list.</source>
        <translation>Kein Gamepad angeschlossen: Wählen Sie das Bedienelement aus der Liste.</translation>
    </message>
    <message>
        <source>Move or press…</source>
        <translation>Bewegen oder drücken…</translation>
    </message>
    <message>
        <source>Move the stick or trigger for %1; click again to keep the control.</source>
        <translation>Bewegen Sie den Stick oder Trigger für %1; ein erneuter Klick behält das bisherige Bedienelement.</translation>
    </message>
    <message>
        <source>Press the button or trigger for %1; click again to keep the control.</source>
        <translation>Drücken Sie die Taste oder den Trigger für %1; ein erneuter Klick behält das bisherige Bedienelement.</translation>
    </message>
    <message>
        <source>The gamepad went: choose the control from the list.</source>
        <translation>Das Gamepad wurde getrennt: Wählen Sie das Bedienelement aus der Liste.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An action and the pad control just bound to it.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Standard wiederherstellen</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>Keyboard</source>
        <translation>Tastatur</translation>
    </message>
    <message>
        <source>Gamepad</source>
        <translation>Gamepad</translation>
    </message>
    <message>
        <source>Gamepad: %1</source>
        <translation>Gamepad: %1</translation>
    </message>
    <message>
        <source>Gamepad: SDL2 not found</source>
        <translation>Gamepad: SDL2 nicht gefunden</translation>
    </message>
    <message>
        <source>Keyboard and gamepad controls</source>
        <translation>Tastatur- und Gamepad-Bedienung</translation>
    </message>
    <message>
        <source>About %1</source>
        <extracomment>%1 is the program&apos;s name.</extracomment>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Version %2&lt;/p&gt;&lt;p&gt;Qt %3 (built with Qt %4)&lt;/p&gt;&lt;p&gt;%5&lt;/p&gt;</source>
        <extracomment>The program&apos;s name, its version, the Qt it runs on and the one it was built with, the gamepad line.</extracomment>
        <translation>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Version %2&lt;/p&gt;&lt;p&gt;Qt %3 (erstellt mit Qt %4)&lt;/p&gt;&lt;p&gt;%5&lt;/p&gt;</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>This build has no gamepad support</source>
        <translation>Diese Ausgabe unterstützt kein Gamepad</translation>
    </message>
    <message>
        <source>Built without gamepad support</source>
        <translation>Ohne Gamepad-Unterstützung erstellt</translation>
    </message>
</context>
<context>
    <name>KeyboardControl</name>
    <message>
        <source>Zoom tele</source>
        <translation>Zoom Tele</translation>
    </message>
    <message>
        <source>Zoom wide</source>
        <translation>Zoom Weit</translation>
    </message>
    <message>
        <source>Focus far</source>
        <translation>Fokus fern</translation>
    </message>
    <message>
        <source>Focus near</source>
        <translation>Fokus nah</translation>
    </message>
    <message>
        <source>Iris open</source>
        <translation>Blende öffnen</translation>
    </message>
    <message>
        <source>Iris close</source>
        <translation>Blende schließen</translation>
    </message>
    <message>
        <source>Hold %1</source>
        <extracomment>A key combination held down, such as Ctrl+Up.</extracomment>
        <translation>%1 halten</translation>
    </message>
    <message>
        <source>%1 … %2</source>
        <extracomment>A range of keys, such as F1 … F10.</extracomment>
        <translation>%1 … %2</translation>
    </message>
    <message>
        <source>Call preset 1 … 10</source>
        <translation>Voreinstellung 1 … 10 abrufen</translation>
    </message>
    <message>
        <source>Set preset 1 … 10</source>
        <translation>Voreinstellung 1 … 10 setzen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>%1 (hold %2)</source>
        <translation>%1 (%2 halten)</translation>
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
        <source>Storing preset %1…</source>
        <translation>Voreinstellung %1 wird gesetzt…</translation>
    </message>
    <message>
        <source>Reading the positions…</source>
        <translation>Positionen werden gelesen…</translation>
    </message>
    <message>
        <source>Storing in the board…</source>
        <translation>Wird in der Platine gespeichert…</translation>
    </message>
    <message>
        <source>Calibrating…</source>
        <translation>Kalibrierung läuft…</translation>
    </message>
    <message>
        <source>The zoom does not move to %1: %2.</source>
        <translation>Der Zoom fährt nicht auf %1: %2.</translation>
    </message>
    <message>
        <source>The focus does not move to %1: %2.</source>
        <translation>Der Fokus fährt nicht auf %1: %2.</translation>
    </message>
    <message>
        <source>The iris does not move to %1: %2.</source>
        <translation>Die Blende fährt nicht auf %1: %2.</translation>
    </message>
    <message>
        <source>the profile puts it at %1, beyond the board&apos;s range 0 to %2</source>
        <translation>das Profil ergibt dafür %1, außerhalb des Bereichs 0 bis %2 der Platine</translation>
    </message>
    <message>
        <source>The zoom stays within the lens profile&apos;s limit %1.</source>
        <translation>Der Zoom bleibt innerhalb der Grenze %1 des Objektivprofils.</translation>
    </message>
    <message>
        <source>The focus stays within the lens profile&apos;s limit %1.</source>
        <translation>Der Fokus bleibt innerhalb der Grenze %1 des Objektivprofils.</translation>
    </message>
    <message>
        <source>The iris stays within the lens profile&apos;s limit %1.</source>
        <translation>Die Blende bleibt innerhalb der Grenze %1 des Objektivprofils.</translation>
    </message>
    <message>
        <source>Preset %1 is not recalled in %2 s: a recall time needs a lens profile with the motors&apos; measured speeds, and no profile is in use (Lens ▸ Profile…).</source>
        <translation>Voreinstellung %1 wird nicht in %2 s abgerufen: Eine Abrufzeit braucht ein Objektivprofil mit den gemessenen Geschwindigkeiten der Motoren, und es ist kein Profil in Gebrauch (Objektiv ▸ Profil…).</translation>
    </message>
    <message>
        <source>Preset %1 was recalled at the board&apos;s own speed: it was never stored from this computer.</source>
        <translation>Voreinstellung %1 lief mit der Geschwindigkeit der Steuerung: Sie wurde nie von diesem Computer gespeichert.</translation>
    </message>
    <message>
        <source>Preset %1 takes %2 s: the motors cannot make it sooner.</source>
        <translation>Voreinstellung %1 braucht %2 s: Schneller schaffen es die Motoren nicht.</translation>
    </message>
    <message>
        <source>Preset %1 arrives in %2 s.</source>
        <translation>Voreinstellung %1 ist in %2 s erreicht.</translation>
    </message>
    <message>
        <source>The focus cannot follow the zoom: the lens profile in use has no focus curve. Lens ▸ Profile… adds one.</source>
        <translation>Der Fokus kann dem Zoom nicht folgen: Das verwendete Objektivprofil hat keine Fokuskurve. Objektiv ▸ Profil… fügt eine hinzu.</translation>
    </message>
    <message>
        <source>The focus cannot follow the zoom: no lens profile is in use. Lens ▸ Profile… makes one with a focus curve.</source>
        <translation>Der Fokus kann dem Zoom nicht folgen: Es ist kein Objektivprofil in Gebrauch. Objektiv ▸ Profil… erstellt eines mit Fokuskurve.</translation>
    </message>
    <message>
        <source>Preset %1 is not recalled in %2 s: the lens profile in use has no measured speeds of the motors. Measure them with Lens ▸ Measure speeds… first.</source>
        <translation>Voreinstellung %1 wird nicht in %2 s abgerufen: Das verwendete Objektivprofil hat keine gemessenen Geschwindigkeiten der Motoren. Messen Sie sie zuerst (Objektiv ▸ Geschwindigkeiten messen…).</translation>
    </message>
    <message>
        <source>the profile puts it at %1, beyond the lens profile&apos;s limit %2</source>
        <translation>das Profil ergibt dafür %1, jenseits der Grenze %2 des Objektivprofils</translation>
    </message>
    <message>
        <source>the zoom&apos;s limit %1</source>
        <translation>der Zoom-Grenze %1</translation>
    </message>
    <message>
        <source>the focus&apos;s limit %1</source>
        <translation>der Fokus-Grenze %1</translation>
    </message>
    <message>
        <source>the iris&apos;s limit %1</source>
        <translation>der Blenden-Grenze %1</translation>
    </message>
    <message>
        <source>Preset %1 lies beyond %2: it was recalled to the limit.</source>
        <translation>Voreinstellung %1 liegt jenseits %2 und wurde bis zur Grenze abgerufen.</translation>
    </message>
    <message>
        <source>Preset %1 lies beyond %2: it was recalled to the limits.</source>
        <translation>Voreinstellung %1 liegt jenseits %2 und wurde bis zu den Grenzen abgerufen.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <comment>two limits</comment>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>%1, %2 and %3</source>
        <comment>three limits</comment>
        <translation>%1, %2 und %3</translation>
    </message>
</context>
<context>
    <name>LensProfile</name>
    <message>
        <source>needs at least two points</source>
        <translation>braucht mindestens zwei Punkte</translation>
    </message>
    <message>
        <source>the position must be a whole count of 0 or more</source>
        <translation>die Position muss eine ganze Zahl ab 0 sein</translation>
    </message>
    <message>
        <source>the value must be between 0.001 and 1000000</source>
        <translation>der Wert muss zwischen 0,001 und 1000000 liegen</translation>
    </message>
    <message>
        <source>the positions must rise from point to point</source>
        <translation>die Positionen müssen von Punkt zu Punkt steigen</translation>
    </message>
    <message>
        <source>the values must all rise or all fall</source>
        <translation>die Werte müssen alle steigen oder alle fallen</translation>
    </message>
    <message>
        <source>must be a list of [position, value] points</source>
        <translation>muss eine Liste von Punkten [Position, Wert] sein</translation>
    </message>
    <message>
        <source>must be a position and a distance in metres or &quot;inf&quot;</source>
        <translation>muss eine Position und eine Entfernung in Metern oder &quot;inf&quot; sein</translation>
    </message>
    <message>
        <source>must be a position and a number</source>
        <translation>muss eine Position und eine Zahl sein</translation>
    </message>
    <message>
        <source>not a key of a lens profile</source>
        <translation>kein Schlüssel eines Objektivprofils</translation>
    </message>
    <message>
        <source>must be a list of curves</source>
        <translation>muss eine Liste von Kurven sein</translation>
    </message>
    <message>
        <source>each curve must be {&quot;zoom&quot;: position, &quot;points&quot;: [...]}</source>
        <translation>jede Kurve muss {&quot;zoom&quot;: Position, &quot;points&quot;: [...]} sein</translation>
    </message>
    <message>
        <source>must be an object by motor</source>
        <translation>muss ein Objekt nach Motoren sein</translation>
    </message>
    <message>
        <source>not a motor: zoom, focus or iris</source>
        <translation>kein Motor: zoom, focus oder iris</translation>
    </message>
    <message>
        <source>must be [lowest, highest], whole counts, the lowest below the highest</source>
        <translation>muss [niedrigste, höchste] sein, ganze Zahlen, die niedrigste unter der höchsten</translation>
    </message>
    <message>
        <source>must be a whole count of 0 or more</source>
        <translation>muss eine ganze Zahl ab 0 sein</translation>
    </message>
    <message>
        <source>must be a number above 0</source>
        <translation>muss eine Zahl über 0 sein</translation>
    </message>
    <message>
        <source>the profile needs a name</source>
        <translation>das Profil braucht einen Namen</translation>
    </message>
    <message>
        <source>must be &quot;tavro&quot; or &quot;pellan&quot;</source>
        <translation>muss &quot;tavro&quot; oder &quot;pellan&quot; sein</translation>
    </message>
    <message>
        <source>with more than one curve, each needs its zoom position</source>
        <translation>bei mehr als einer Kurve braucht jede ihre Zoomposition</translation>
    </message>
    <message>
        <source>the zoom position must be a whole count of 0 or more</source>
        <translation>die Zoomposition muss eine ganze Zahl ab 0 sein</translation>
    </message>
    <message>
        <source>the curves must be at rising zoom positions</source>
        <translation>die Kurven müssen bei steigenden Zoompositionen liegen</translation>
    </message>
    <message>
        <source>runs the other way from the first curve</source>
        <translation>verläuft umgekehrt zur ersten Kurve</translation>
    </message>
    <message>
        <source>the zoom takes counts or a focal length in mm</source>
        <translation>der Zoom nimmt Schritte oder eine Brennweite in mm</translation>
    </message>
    <message>
        <source>the focus takes counts or a distance in m</source>
        <translation>der Fokus nimmt Schritte oder eine Entfernung in m</translation>
    </message>
    <message>
        <source>the iris takes counts or an f-number</source>
        <translation>die Blende nimmt Schritte oder eine Blendenzahl</translation>
    </message>
    <message>
        <source>the profile has no focal lengths</source>
        <translation>das Profil hat keine Brennweiten</translation>
    </message>
    <message>
        <source>the profile has no focus distances</source>
        <translation>das Profil hat keine Fokusentfernungen</translation>
    </message>
    <message>
        <source>the profile has no f-numbers</source>
        <translation>das Profil hat keine Blendenzahlen</translation>
    </message>
    <message>
        <source>point</source>
        <extracomment>Between a table&apos;s key and the point&apos;s values: &quot;zoom point [3000, 9.25]&quot;.</extracomment>
        <translation>Punkt</translation>
    </message>
    <message>
        <source>not a lens profile</source>
        <translation>kein Objektivprofil</translation>
    </message>
    <message>
        <source>not a lens profile: not a JSON object</source>
        <translation>kein Objektivprofil: kein JSON-Objekt</translation>
    </message>
    <message>
        <source>the profile %1 is for the %2 board</source>
        <extracomment>A lens profile made for the other kind of board: the file, the board it names.</extracomment>
        <translation>das Profil %1 ist für die Steuerung %2</translation>
    </message>
    <message>
        <source>outside the profile&apos;s range %1 to %2 mm</source>
        <translation>außerhalb des Profilbereichs %1 bis %2 mm</translation>
    </message>
    <message>
        <source>outside the profile&apos;s range %1 to %2 m</source>
        <translation>außerhalb des Profilbereichs %1 bis %2 m</translation>
    </message>
    <message>
        <source>outside the profile&apos;s range f/%1 to f/%2</source>
        <translation>außerhalb des Profilbereichs f/%1 bis f/%2</translation>
    </message>
    <message>
        <source>must be one speed above 0 in counts per second</source>
        <translation>muss eine Geschwindigkeit über 0 in Schritten pro Sekunde sein</translation>
    </message>
    <message>
        <source>must be three speeds above 0 in counts per second, low below medium below high</source>
        <translation>muss drei Geschwindigkeiten über 0 in Schritten pro Sekunde sein, niedrig unter mittel unter hoch</translation>
    </message>
</context>
<context>
    <name>LensProfileDialog</name>
    <message>
        <source>Curve:</source>
        <translation>Kurve:</translation>
    </message>
    <message>
        <source>Add point</source>
        <translation>Punkt hinzufügen</translation>
    </message>
    <message>
        <source>Delete point</source>
        <translation>Punkt löschen</translation>
    </message>
    <message>
        <source>Use in the window</source>
        <translation>Im Fenster verwenden</translation>
    </message>
    <message>
        <source>Lens profile</source>
        <translation>Objektivprofil</translation>
    </message>
    <message>
        <source>Zoom: focal length</source>
        <translation>Zoom: Brennweite</translation>
    </message>
    <message>
        <source>Focus: distance</source>
        <translation>Fokus: Entfernung</translation>
    </message>
    <message>
        <source>Iris: f-number</source>
        <translation>Blende: Blendenzahl</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>Tabelle</translation>
    </message>
    <message>
        <source>Focus curve</source>
        <translation>Fokuskurve</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Calibration points</source>
        <translation>Kalibrierpunkte</translation>
    </message>
    <message>
        <source>e.g. 35 mm, 2.5 m, inf, f/4</source>
        <translation>z. B. 35 mm, 2,5 m, inf, f/4</translation>
    </message>
    <message>
        <source>Value at the position shown</source>
        <translation>Wert an der angezeigten Position</translation>
    </message>
    <message>
        <source>for the angle of view</source>
        <translation>für den Bildwinkel</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Sensor width (mm):</source>
        <translation>Sensorbreite (mm):</translation>
    </message>
    <message>
        <source>Table:</source>
        <translation>Tabelle:</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Öffnen…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save as…</source>
        <translation>Speichern unter…</translation>
    </message>
    <message>
        <source>The window shows no position of this motor yet.</source>
        <translation>Das Fenster zeigt noch keine Position dieses Motors.</translation>
    </message>
    <message>
        <source>“%1” is no value for this table.</source>
        <translation>„%1“ ist kein Wert für diese Tabelle.</translation>
    </message>
    <message>
        <source>Save lens profile</source>
        <translation>Objektivprofil speichern</translation>
    </message>
    <message>
        <source>Open lens profile</source>
        <translation>Objektivprofil öffnen</translation>
    </message>
    <message>
        <source>Lens profiles (*.json)</source>
        <translation>Objektivprofile (*.json)</translation>
    </message>
    <message>
        <source>%1 exists already. Replace it?</source>
        <translation>%1 gibt es schon. Ersetzen?</translation>
    </message>
    <message>
        <source>The sensor width “%1” is no number of millimetres.</source>
        <translation>Die Sensorbreite „%1“ ist keine Zahl in Millimetern.</translation>
    </message>
    <message>
        <source>Could not write %1.</source>
        <translation>%1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>At zoom %1</source>
        <translation>Bei Zoom %1</translation>
    </message>
    <message>
        <source>Without zoom</source>
        <translation>Ohne Zoom</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>Not saved yet.</source>
        <translation>Noch nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 (changed)</source>
        <translation>%1 (geändert)</translation>
    </message>
</context>
<context>
    <name>LensUnitLabels</name>
    <message>
        <source>Zoom focal length</source>
        <translation>Brennweite des Zooms</translation>
    </message>
    <message>
        <source>Zoom focal length %1 millimetres</source>
        <translation>Brennweite des Zooms %1 Millimeter</translation>
    </message>
    <message>
        <source>Focus distance</source>
        <translation>Fokusentfernung</translation>
    </message>
    <message>
        <source>Focus distance %1 metres</source>
        <translation>Fokusentfernung %1 Meter</translation>
    </message>
    <message>
        <source>Iris f-number</source>
        <translation>Blendenzahl</translation>
    </message>
    <message>
        <source>Iris f-number %1</source>
        <translation>Blendenzahl %1</translation>
    </message>
    <message>
        <source>Focus distance infinity</source>
        <translation>Fokusentfernung unendlich</translation>
    </message>
    <message>
        <source>HFOV %1°</source>
        <translation>Bildwinkel %1°</translation>
    </message>
    <message>
        <source>Horizontal angle of view %1 degrees</source>
        <translation>Horizontaler Bildwinkel %1 Grad</translation>
    </message>
    <message>
        <source>Horizontal angle of view</source>
        <translation>Horizontaler Bildwinkel</translation>
    </message>
</context>
<context>
    <name>LensUnits</name>
    <message>
        <source>no lens profile is in use (Lens ▸ Profile…)</source>
        <translation>kein Objektivprofil in Gebrauch (Objektiv ▸ Profil…)</translation>
    </message>
    <message>
        <source>the zoom position is not known</source>
        <translation>die Zoomposition ist nicht bekannt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Presets</source>
        <translation>Voreinstellungen</translation>
    </message>
    <message>
        <source>Preset/Input 1</source>
        <translation>Voreinst./Eing. 1</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Setzen</translation>
    </message>
    <message>
        <source>Call</source>
        <translation>Abrufen</translation>
    </message>
    <message>
        <source>Preset/Input 2</source>
        <translation>Voreinst./Eing. 2</translation>
    </message>
    <message>
        <source>Preset/Input 3</source>
        <translation>Voreinst./Eing. 3</translation>
    </message>
    <message>
        <source>Preset/input 4</source>
        <translation>Voreinst./Eing. 4</translation>
    </message>
    <message>
        <source>Preset 5</source>
        <translation>Voreinst. 5</translation>
    </message>
    <message>
        <source>Preset 6</source>
        <translation>Voreinst. 6</translation>
    </message>
    <message>
        <source>Preset 7</source>
        <translation>Voreinst. 7</translation>
    </message>
    <message>
        <source>Preset 8</source>
        <translation>Voreinst. 8</translation>
    </message>
    <message>
        <source>Preset 9</source>
        <translation>Voreinst. 9</translation>
    </message>
    <message>
        <source>Preset 10</source>
        <translation>Voreinst. 10</translation>
    </message>
    <message>
        <source>Lens control</source>
        <translation>Objektivsteuerung</translation>
    </message>
    <message>
        <source>Zoom position</source>
        <translation>Zoomposition</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Focus position</source>
        <translation>Fokusposition</translation>
    </message>
    <message>
        <source>Iris position</source>
        <translation>Blendenposition</translation>
    </message>
    <message>
        <source>Run/Stop</source>
        <translation>Fahren/Stoppen</translation>
    </message>
    <message>
        <source>Zoom wide until STOP; or hold Ctrl+Down</source>
        <translation>Zoom Weit bis STOPP; oder Strg+Herunter halten</translation>
    </message>
    <message>
        <source>Wide</source>
        <translation>Weit</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom tele until STOP; or hold Ctrl+Up</source>
        <translation>Zoom Tele bis STOPP; oder Strg+Hoch halten</translation>
    </message>
    <message>
        <source>Tele</source>
        <translation>Tele</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Focus far until STOP; or hold Ctrl+Right</source>
        <translation>Fokus fern bis STOPP; oder Strg+Rechts halten</translation>
    </message>
    <message>
        <source>Far</source>
        <translation>Fern</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Focus near until STOP; or hold Ctrl+Left</source>
        <translation>Fokus nah bis STOPP; oder Strg+Links halten</translation>
    </message>
    <message>
        <source>Near</source>
        <translation>Nah</translation>
    </message>
    <message>
        <source>Close the iris until STOP; or hold Ctrl+PgDown</source>
        <translation>Blende schließen bis STOPP; oder Strg+Bild abwärts halten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zu</translation>
    </message>
    <message>
        <source>Iris</source>
        <translation>Blende</translation>
    </message>
    <message>
        <source>Open the iris until STOP; or hold Ctrl+PgUp</source>
        <translation>Blende öffnen bis STOPP; oder Strg+Bild aufwärts halten</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Auf</translation>
    </message>
    <message>
        <source>Calibrate All</source>
        <translation>Alle kalibrieren</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Store in device</source>
        <translation>Im Gerät speichern</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>Serielle Schnittstelle</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testen</translation>
    </message>
    <message>
        <source>Lens</source>
        <translation>Objektiv</translation>
    </message>
    <message>
        <source>Zoom speed</source>
        <translation>Zoomgeschw.</translation>
    </message>
    <message>
        <source>Focus speed</source>
        <translation>Fokusgeschw.</translation>
    </message>
    <message>
        <source>Long cable</source>
        <translation>Langes Kabel</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Controller Type</source>
        <translation>Steuerungstyp</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Traffic…</source>
        <translation>Datenverkehr…</translation>
    </message>
    <message>
        <source>Live positions while running</source>
        <translation>Live-Positionen während der Fahrt</translation>
    </message>
    <message>
        <source>Gamepad…</source>
        <translation>Gamepad…</translation>
    </message>
    <message>
        <source>Keyboard and gamepad controls…</source>
        <translation>Tastatur- und Gamepad-Bedienung…</translation>
    </message>
    <message>
        <source>About…</source>
        <translation>Über…</translation>
    </message>
    <message>
        <source>A %1 board answered on this port: choose the controller type &apos;%2&apos;</source>
        <extracomment>%1 is Tavro or Pellan, %2 the controller type as the settings panel lists it.</extracomment>
        <translation>Auf dieser Schnittstelle hat eine %1-Platine geantwortet: Wählen Sie den Steuerungstyp „%2“</translation>
    </message>
    <message>
        <source>Calibrating…</source>
        <translation>Kalibrierung läuft…</translation>
    </message>
    <message>
        <source>Configuring the board…</source>
        <translation>Platine wird eingerichtet…</translation>
    </message>
    <message>
        <source>Checking the board…</source>
        <translation>Platine wird geprüft…</translation>
    </message>
    <message>
        <source>Reading the positions…</source>
        <translation>Positionen werden gelesen…</translation>
    </message>
    <message>
        <source>Edit Settings</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Please select lens</source>
        <translation>Bitte Objektiv wählen</translation>
    </message>
    <message>
        <source>Focus Lens</source>
        <translation>Fokusobjektiv</translation>
    </message>
    <message>
        <source>Store presets</source>
        <translation>Voreinstellungen speichern</translation>
    </message>
    <message>
        <source>Please select a valid serial port!</source>
        <translation>Bitte wählen Sie eine gültige serielle Schnittstelle!</translation>
    </message>
    <message>
        <source>No lens controller board detected on this serial port!</source>
        <translation>Auf dieser seriellen Schnittstelle wurde keine Steuerplatine erkannt!</translation>
    </message>
    <message>
        <source>Success: Lens controller board detected on this serial port!</source>
        <translation>Erfolg: Auf dieser seriellen Schnittstelle wurde eine Steuerplatine erkannt!</translation>
    </message>
    <message>
        <source>Please select lens!</source>
        <translation>Bitte wählen Sie ein Objektiv!</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Please select controller</source>
        <translation>Bitte Steuerung wählen</translation>
    </message>
    <message>
        <source>The zoom moves there once the slider rests</source>
        <translation>Der Zoom fährt dorthin, sobald der Schieberegler ruht</translation>
    </message>
    <message>
        <source>Zoom position as a number</source>
        <translation>Zoomposition als Zahl</translation>
    </message>
    <message>
        <source>Enter moves the zoom there</source>
        <translation>Die Eingabetaste fährt den Zoom dorthin</translation>
    </message>
    <message>
        <source>Step the zoom up</source>
        <translation>Zoom einen Schritt höher</translation>
    </message>
    <message>
        <source>A hundredth of the range</source>
        <translation>Ein Hundertstel des Bereichs</translation>
    </message>
    <message>
        <source>Step the zoom down</source>
        <translation>Zoom einen Schritt tiefer</translation>
    </message>
    <message>
        <source>The focus moves there once the slider rests</source>
        <translation>Der Fokus fährt dorthin, sobald der Schieberegler ruht</translation>
    </message>
    <message>
        <source>Focus position as a number</source>
        <translation>Fokusposition als Zahl</translation>
    </message>
    <message>
        <source>Enter moves the focus there</source>
        <translation>Die Eingabetaste fährt den Fokus dorthin</translation>
    </message>
    <message>
        <source>Step the focus up</source>
        <translation>Fokus einen Schritt höher</translation>
    </message>
    <message>
        <source>Step the focus down</source>
        <translation>Fokus einen Schritt tiefer</translation>
    </message>
    <message>
        <source>The iris moves there once the slider rests</source>
        <translation>Die Blende fährt dorthin, sobald der Schieberegler ruht</translation>
    </message>
    <message>
        <source>Iris position as a number</source>
        <translation>Blendenposition als Zahl</translation>
    </message>
    <message>
        <source>Enter moves the iris there</source>
        <translation>Die Eingabetaste fährt die Blende dorthin</translation>
    </message>
    <message>
        <source>Step the iris up</source>
        <translation>Blende einen Schritt höher</translation>
    </message>
    <message>
        <source>Step the iris down</source>
        <translation>Blende einen Schritt tiefer</translation>
    </message>
    <message>
        <source>Zoom wide</source>
        <translation>Zoom Weit</translation>
    </message>
    <message>
        <source>Zoom tele</source>
        <translation>Zoom Tele</translation>
    </message>
    <message>
        <source>Stop the zoom</source>
        <translation>Zoom stoppen</translation>
    </message>
    <message>
        <source>Stops the zoom and reads its position back</source>
        <translation>Stoppt den Zoom und liest seine Position zurück</translation>
    </message>
    <message>
        <source>Focus far</source>
        <translation>Fokus fern</translation>
    </message>
    <message>
        <source>Focus near</source>
        <translation>Fokus nah</translation>
    </message>
    <message>
        <source>Stop the focus</source>
        <translation>Fokus stoppen</translation>
    </message>
    <message>
        <source>Stops the focus and reads its position back</source>
        <translation>Stoppt den Fokus und liest seine Position zurück</translation>
    </message>
    <message>
        <source>Iris close</source>
        <translation>Blende schließen</translation>
    </message>
    <message>
        <source>Iris open</source>
        <translation>Blende öffnen</translation>
    </message>
    <message>
        <source>Stop the iris</source>
        <translation>Blende stoppen</translation>
    </message>
    <message>
        <source>Stops the iris and reads its position back</source>
        <translation>Stoppt die Blende und liest ihre Position zurück</translation>
    </message>
    <message>
        <source>Calibrates every motor, then reads the new ranges and positions</source>
        <translation>Kalibriert alle Motoren und liest danach die neuen Bereiche und Positionen</translation>
    </message>
    <message>
        <source>Reads every position back from the board</source>
        <translation>Liest alle Positionen von der Platine zurück</translation>
    </message>
    <message>
        <source>Test the serial port</source>
        <translation>Serielle Schnittstelle testen</translation>
    </message>
    <message>
        <source>Asks whether a board answers on the chosen port</source>
        <translation>Prüft, ob an der gewählten Schnittstelle eine Platine antwortet</translation>
    </message>
    <message>
        <source>Controller type</source>
        <translation>Steuerungstyp</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>Logo</translation>
    </message>
    <message>
        <source>Set preset %1</source>
        <translation>Voreinstellung %1 setzen</translation>
    </message>
    <message>
        <source>Stores where the lens is now as preset %1</source>
        <translation>Speichert die jetzige Stellung des Objektivs als Voreinstellung %1</translation>
    </message>
    <message>
        <source>Call preset %1</source>
        <translation>Voreinstellung %1 abrufen</translation>
    </message>
    <message>
        <source>Preset/Input 1</source>
        <comment>in full</comment>
        <translation>Voreinstellung/Eingang 1</translation>
    </message>
    <message>
        <source>Preset/Input 2</source>
        <comment>in full</comment>
        <translation>Voreinstellung/Eingang 2</translation>
    </message>
    <message>
        <source>Preset/Input 3</source>
        <comment>in full</comment>
        <translation>Voreinstellung/Eingang 3</translation>
    </message>
    <message>
        <source>Preset/input 4</source>
        <comment>in full</comment>
        <translation>Voreinstellung/Eingang 4</translation>
    </message>
    <message>
        <source>Preset 5</source>
        <comment>in full</comment>
        <translation>Voreinstellung 5</translation>
    </message>
    <message>
        <source>Preset 6</source>
        <comment>in full</comment>
        <translation>Voreinstellung 6</translation>
    </message>
    <message>
        <source>Preset 7</source>
        <comment>in full</comment>
        <translation>Voreinstellung 7</translation>
    </message>
    <message>
        <source>Preset 8</source>
        <comment>in full</comment>
        <translation>Voreinstellung 8</translation>
    </message>
    <message>
        <source>Preset 9</source>
        <comment>in full</comment>
        <translation>Voreinstellung 9</translation>
    </message>
    <message>
        <source>Preset 10</source>
        <comment>in full</comment>
        <translation>Voreinstellung 10</translation>
    </message>
    <message>
        <source>Zoom speed</source>
        <comment>in full</comment>
        <translation>Zoomgeschwindigkeit</translation>
    </message>
    <message>
        <source>Focus speed</source>
        <comment>in full</comment>
        <translation>Fokusgeschwindigkeit</translation>
    </message>
    <message>
        <source>Edit Settings</source>
        <comment>in full</comment>
        <translation>Einstellungen bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Lens</source>
        <translation>&amp;Objektiv</translation>
    </message>
    <message>
        <source>Profile…</source>
        <translation>Profil…</translation>
    </message>
    <message>
        <source>Keep focus while zooming</source>
        <translation>Fokus beim Zoomen halten</translation>
    </message>
    <message>
        <source>Measure speeds…</source>
        <translation>Geschwindigkeiten messen…</translation>
    </message>
    <message>
        <source>Measuring the speeds needs the board in service: choose it in the settings and Save first.</source>
        <translation>Zum Messen der Geschwindigkeiten muss die Platine in Betrieb sein: Wählen Sie sie in den Einstellungen und speichern Sie zuerst.</translation>
    </message>
    <message>
        <source>Measuring the speeds needs a lens profile in use, which they are written into: choose one in Lens ▸ Profile…</source>
        <translation>Zum Messen der Geschwindigkeiten wird ein verwendetes Objektivprofil gebraucht, in das sie geschrieben werden: Wählen Sie eines unter Objektiv ▸ Profil…</translation>
    </message>
    <message>
        <source>Speed measurement cancelled: the profile is left as it was.</source>
        <translation>Geschwindigkeitsmessung abgebrochen: Das Profil bleibt, wie es war.</translation>
    </message>
</context>
<context>
    <name>OperationProgressDialog</name>
    <message>
        <source>Waiting for the board to answer…</source>
        <translation>Warten auf die Antwort der Platine…</translation>
    </message>
    <message numerus="yes">
        <source>%n s left</source>
        <extracomment>Seconds until the board is ready again after a pause it needs.</extracomment>
        <translation>
            <numerusform>noch %n s</numerusform>
            <numerusform>noch %n s</numerusform>
        </translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>PadLayout</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Call preset %1</source>
        <translation>Voreinstellung %1 abrufen</translation>
    </message>
    <message>
        <source>Sticks</source>
        <extracomment>How the sticks drive: %1, %2 and %3 are percentages of their travel.</extracomment>
        <translation>Sticks</translation>
    </message>
    <message>
        <source>Rest within %1 % of their travel; low speed up to %2 %, medium up to %3 %, high beyond</source>
        <translation>Ruhelage bis %1 % des Wegs; langsam bis %2 %, mittel bis %3 %, darüber schnell</translation>
    </message>
    <message>
        <source>Left stick right / left</source>
        <translation>Linker Stick rechts / links</translation>
    </message>
    <message>
        <source>Left stick left / right</source>
        <translation>Linker Stick links / rechts</translation>
    </message>
    <message>
        <source>Left stick up / down</source>
        <translation>Linker Stick hoch / runter</translation>
    </message>
    <message>
        <source>Left stick down / up</source>
        <translation>Linker Stick runter / hoch</translation>
    </message>
    <message>
        <source>Right stick right / left</source>
        <translation>Rechter Stick rechts / links</translation>
    </message>
    <message>
        <source>Right stick left / right</source>
        <translation>Rechter Stick links / rechts</translation>
    </message>
    <message>
        <source>Right stick up / down</source>
        <translation>Rechter Stick hoch / runter</translation>
    </message>
    <message>
        <source>Right stick down / up</source>
        <translation>Rechter Stick runter / hoch</translation>
    </message>
    <message>
        <source>Left trigger</source>
        <translation>Linker Trigger</translation>
    </message>
    <message>
        <source>Left trigger, inverted</source>
        <translation>Linker Trigger, umgekehrt</translation>
    </message>
    <message>
        <source>Right trigger</source>
        <translation>Rechter Trigger</translation>
    </message>
    <message>
        <source>Right trigger, inverted</source>
        <translation>Rechter Trigger, umgekehrt</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Guide</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>Start (Menu)</source>
        <translation>Start (Menü)</translation>
    </message>
    <message>
        <source>Left stick pressed</source>
        <translation>Linker Stick gedrückt</translation>
    </message>
    <message>
        <source>Right stick pressed</source>
        <translation>Rechter Stick gedrückt</translation>
    </message>
    <message>
        <source>Left shoulder</source>
        <translation>Linke Schultertaste</translation>
    </message>
    <message>
        <source>Right shoulder</source>
        <translation>Rechte Schultertaste</translation>
    </message>
    <message>
        <source>D-pad up</source>
        <translation>Steuerkreuz hoch</translation>
    </message>
    <message>
        <source>D-pad down</source>
        <translation>Steuerkreuz runter</translation>
    </message>
    <message>
        <source>D-pad left</source>
        <translation>Steuerkreuz links</translation>
    </message>
    <message>
        <source>D-pad right</source>
        <translation>Steuerkreuz rechts</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>Paddle 1</source>
        <translation>Paddle 1</translation>
    </message>
    <message>
        <source>Paddle 2</source>
        <translation>Paddle 2</translation>
    </message>
    <message>
        <source>Paddle 3</source>
        <translation>Paddle 3</translation>
    </message>
    <message>
        <source>Paddle 4</source>
        <translation>Paddle 4</translation>
    </message>
    <message>
        <source>Touchpad</source>
        <translation>Touchpad</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom tele / wide while pushed, the further the faster</source>
        <translation>Zoom Tele / Weit, solange ausgelenkt, je weiter, desto schneller</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Focus far / near while pushed, the further the faster</source>
        <translation>Fokus fern / nah, solange ausgelenkt, je weiter, desto schneller</translation>
    </message>
    <message>
        <source>Iris</source>
        <translation>Blende</translation>
    </message>
    <message>
        <source>Iris open / close while pushed</source>
        <translation>Blende öffnen / schließen, solange ausgelenkt</translation>
    </message>
    <message>
        <source>Iris open</source>
        <translation>Blende öffnen</translation>
    </message>
    <message>
        <source>Iris open while held</source>
        <translation>Blende öffnen, solange gehalten</translation>
    </message>
    <message>
        <source>Iris close</source>
        <translation>Blende schließen</translation>
    </message>
    <message>
        <source>Iris close while held</source>
        <translation>Blende schließen, solange gehalten</translation>
    </message>
    <message>
        <source>Zoom +</source>
        <translation>Zoom +</translation>
    </message>
    <message>
        <source>Zoom −</source>
        <translation>Zoom −</translation>
    </message>
    <message>
        <source>Focus +</source>
        <translation>Fokus +</translation>
    </message>
    <message>
        <source>Focus −</source>
        <translation>Fokus −</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
</context>
<context>
    <name>PresetSpeedMenu</name>
    <message>
        <source>Low</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Panel speed</source>
        <extracomment>A preset called at the Zoom speed and Focus speed of the settings panel.</extracomment>
        <translation>Wie eingestellt</translation>
    </message>
    <message>
        <source>Preset %1 speed: %2</source>
        <translation>Voreinstellung %1, Geschwindigkeit: %2</translation>
    </message>
    <message>
        <source>Speed and recall time of preset %1</source>
        <translation>Geschwindigkeit und Abrufzeit von Voreinstellung %1</translation>
    </message>
    <message>
        <source>Recall time</source>
        <translation>Abrufzeit</translation>
    </message>
    <message>
        <source>Recall time of preset %1</source>
        <translation>Abrufzeit von Voreinstellung %1</translation>
    </message>
    <message>
        <source>Off</source>
        <extracomment>No recall time: the preset is called at its speed.</extracomment>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Custom…</source>
        <translation>Eigene…</translation>
    </message>
    <message>
        <source>Custom (%1)…</source>
        <translation>Eigene (%1)…</translation>
    </message>
    <message>
        <source>Seconds in which every motor arrives at preset %1 (%2 to %3):</source>
        <translation>Sekunden, in denen jeder Motor Voreinstellung %1 erreicht (%2 bis %3):</translation>
    </message>
    <message>
        <source>Moves the lens to preset %1 in %2, every motor arriving together. Right click, the menu key or Shift+F10 choose the speed or the recall time.</source>
        <translation>Fährt das Objektiv in %2 auf Voreinstellung %1, alle Motoren kommen zugleich an. Rechtsklick, die Menütaste oder Umschalt+F10 wählen die Geschwindigkeit oder die Abrufzeit.</translation>
    </message>
    <message>
        <source>Preset %1 recall time: %2</source>
        <translation>Voreinstellung %1 Abrufzeit: %2</translation>
    </message>
    <message>
        <source>Moves the lens to preset %1 at: %2. Right click, the menu key or Shift+F10 choose the speed or the recall time.</source>
        <translation>Fährt das Objektiv auf Voreinstellung %1, Geschwindigkeit: %2. Rechtsklick, die Menütaste oder Umschalt+F10 wählen die Geschwindigkeit oder die Abrufzeit.</translation>
    </message>
    <message>
        <source>%1 s</source>
        <extracomment>A recall time in seconds.</extracomment>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>SerialTransaction</name>
    <message>
        <source>Could not write the frame to serial port: %1
Check that the board is still connected.</source>
        <translation>Das Telegramm konnte nicht auf die serielle Schnittstelle geschrieben werden: %1
Prüfen Sie, ob die Platine noch angeschlossen ist.</translation>
    </message>
    <message>
        <source>On Linux, serial devices are usually open to the members of the group dialout: add your user to it (sudo adduser $USER dialout), then log out and in again.</source>
        <translation>Unter Linux dürfen meist nur die Mitglieder der Gruppe dialout serielle Geräte öffnen: Fügen Sie Ihren Benutzer hinzu (sudo adduser $USER dialout), und melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Could not open serial port: %1
Check that the port is not used by another application.</source>
        <translation>Die serielle Schnittstelle konnte nicht geöffnet werden: %1
Prüfen Sie, ob ein anderes Programm die Schnittstelle verwendet.</translation>
    </message>
    <message>
        <source>process ID %1</source>
        <extracomment>The program that holds the serial port, after its name.</extracomment>
        <translation>Prozess-ID %1</translation>
    </message>
    <message>
        <source>In use by another program</source>
        <translation>Von einem anderen Programm belegt</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>the system refused the write</source>
        <translation>das System hat das Schreiben verweigert</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: %2.

The choices made in this window will not be kept. Start the program from a folder you may write to.</source>
        <extracomment>%1 is the file, %2 the system&apos;s reason.</extracomment>
        <translation>Die Einstellungsdatei %1 kann nicht geschrieben werden: %2.

Was Sie in diesem Fenster wählen, wird nicht behalten. Starten Sie das Programm aus einem Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>SliderInput</name>
    <message>
        <source>Left, Right, Up, Down</source>
        <translation>Links, Rechts, Hoch, Herunter</translation>
    </message>
    <message>
        <source>On a slider: a step of a hundredth of the range</source>
        <translation>Auf einem Schieberegler: ein Schritt von einem Hundertstel des Bereichs</translation>
    </message>
    <message>
        <source>Page Up, Page Down</source>
        <translation>Bild aufwärts, Bild abwärts</translation>
    </message>
    <message>
        <source>On a slider: ten steps</source>
        <translation>Auf einem Schieberegler: zehn Schritte</translation>
    </message>
    <message>
        <source>Home, End</source>
        <translation>Pos1, Ende</translation>
    </message>
    <message>
        <source>On a slider: to either end</source>
        <translation>Auf einem Schieberegler: an das eine oder andere Ende</translation>
    </message>
    <message>
        <source>Mouse wheel</source>
        <translation>Mausrad</translation>
    </message>
    <message>
        <source>Over a slider: a step per notch</source>
        <translation>Über einem Schieberegler: ein Schritt pro Raste</translation>
    </message>
    <message>
        <source>A slider&apos;s new position goes out %1 ms after the last step, once the key is let go.</source>
        <translation>Die neue Position eines Schiebereglers wird %1 ms nach dem letzten Schritt gesendet, sobald die Taste losgelassen ist.</translation>
    </message>
</context>
<context>
    <name>SpeedMeasurementDialog</name>
    <message>
        <source>Measure speeds</source>
        <translation>Geschwindigkeiten messen</translation>
    </message>
    <message>
        <source>Speeds measured</source>
        <translation>Gemessene Geschwindigkeiten</translation>
    </message>
    <message>
        <source>%v of %m</source>
        <extracomment>The bar&apos;s text: speeds measured so far, of all the board&apos;s motors have.</extracomment>
        <translation>%v von %m</translation>
    </message>
    <message>
        <source>Measured speeds</source>
        <translation>Gemessene Geschwindigkeiten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Each motor travels to and fro at each of its speeds within the profile&apos;s limits. This takes up to two minutes.</source>
        <translation>Jeder Motor fährt mit jeder seiner Geschwindigkeiten innerhalb der Grenzen des Profils hin und her. Das dauert bis zu zwei Minuten.</translation>
    </message>
    <message>
        <source>Stopping the motor…</source>
        <translation>Der Motor wird angehalten…</translation>
    </message>
</context>
<context>
    <name>SpeedMeasurementTask</name>
    <message>
        <source>Measuring the motors&apos; speeds…</source>
        <translation>Die Geschwindigkeiten der Motoren werden gemessen…</translation>
    </message>
    <message>
        <source>Speeds measured in %1 s and written to %2.</source>
        <extracomment>The seconds the measurement took, then the profile&apos;s file name.</extracomment>
        <translation>Geschwindigkeiten in %1 s gemessen und in %2 geschrieben.</translation>
    </message>
    <message>
        <source>The measured speeds were not written: %1</source>
        <translation>Die gemessenen Geschwindigkeiten wurden nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>The measured speeds could not be written to %1: %2</source>
        <translation>Die gemessenen Geschwindigkeiten konnten nicht in %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Reading the positions…</source>
        <translation>Positionen werden gelesen…</translation>
    </message>
    <message>
        <source>No valid answer from the board on %1.</source>
        <translation>Keine gültige Antwort von der Platine an %1.</translation>
    </message>
    <message>
        <source>The board on %1 rejected a command or did not acknowledge it.</source>
        <translation>Die Platine an %1 hat einen Befehl abgelehnt oder nicht bestätigt.</translation>
    </message>
    <message>
        <source>%1: too few readings between %2 % and %3 % of the travel to time it.</source>
        <translation>%1: zu wenige Messwerte zwischen %2 % und %3 % des Wegs, um die Geschwindigkeit zu bestimmen.</translation>
    </message>
    <message>
        <source>The speeds were not measured, and the profile is left as it was. %1</source>
        <translation>Die Geschwindigkeiten wurden nicht gemessen, und das Profil bleibt, wie es war. %1</translation>
    </message>
    <message>
        <source>Zoom at low speed</source>
        <translation>Zoom langsam</translation>
    </message>
    <message>
        <source>Zoom at medium speed</source>
        <translation>Zoom mittel</translation>
    </message>
    <message>
        <source>Zoom at high speed</source>
        <translation>Zoom schnell</translation>
    </message>
    <message>
        <source>Focus at low speed</source>
        <translation>Fokus langsam</translation>
    </message>
    <message>
        <source>Focus at medium speed</source>
        <translation>Fokus mittel</translation>
    </message>
    <message>
        <source>Focus at high speed</source>
        <translation>Fokus schnell</translation>
    </message>
    <message>
        <source>Iris</source>
        <translation>Blende</translation>
    </message>
    <message>
        <source>%1: %2 counts/s</source>
        <extracomment>A measured speed: the motor and its speed level, then counts per second.</extracomment>
        <translation>%1: %2 Schritte/s</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>%1: travels too little to be timed, from %2 to %3.</source>
        <translation>%1: fährt zu wenig, um gemessen zu werden, von %2 bis %3.</translation>
    </message>
    <message>
        <source>%1: did not come to a stand within %2 s.</source>
        <translation>%1: ist nicht innerhalb von %2 s zum Stehen gekommen.</translation>
    </message>
</context>
<context>
    <name>TrafficModel</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Board</source>
        <extracomment>The board type, Tavro or Pellan.</extracomment>
        <translation>Platine</translation>
    </message>
    <message>
        <source>Sent</source>
        <extracomment>The frame sent to the board, in hex.</extracomment>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Meaning</source>
        <extracomment>What the frame beside it means, the one sent or the reply.</extracomment>
        <translation>Bedeutung</translation>
    </message>
    <message>
        <source>Received</source>
        <extracomment>The board&apos;s reply, in hex.</extracomment>
        <translation>Empfangen</translation>
    </message>
    <message>
        <source>Outcome</source>
        <extracomment>How the exchange went: OK, no reply and the like.</extracomment>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>ms</source>
        <extracomment>Milliseconds from the frame&apos;s writing to the reply&apos;s last byte.</extracomment>
        <translation>ms</translation>
    </message>
</context>
<context>
    <name>TrafficWindow</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Traffic</source>
        <translation>Datenverkehr</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Speichern…</translation>
    </message>
    <message>
        <source>Paused: new exchanges are kept but not shown.</source>
        <translation>Pausiert: Neuer Datenaustausch wird aufbewahrt, aber nicht angezeigt.</translation>
    </message>
    <message>
        <source>%1 copied.</source>
        <extracomment>%1 is a count of rows, such as &quot;3 rows&quot;.</extracomment>
        <translation>%1 kopiert.</translation>
    </message>
    <message>
        <source>%1 saved to %2.</source>
        <extracomment>%1 is a count of rows, %2 the file.</extracomment>
        <translation>%1 in %2 gespeichert.</translation>
    </message>
    <message>
        <source>Could not save to %1: %2</source>
        <translation>Speichern in %1 nicht möglich: %2</translation>
    </message>
    <message>
        <source>Save the traffic</source>
        <translation>Datenverkehr speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>1 row</source>
        <translation>1 Zeile</translation>
    </message>
    <message numerus="yes">
        <source>%n rows</source>
        <translation>
            <numerusform>%n Zeile</numerusform>
            <numerusform>%n Zeilen</numerusform>
        </translation>
    </message>
    <message>
        <source>Exchanges with the board</source>
        <translation>Datenaustausch mit der Platine</translation>
    </message>
</context>
</TS>
