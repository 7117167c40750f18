<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="de_DE">
<context>
    <name>MessageDisplay</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>Outcome</name>
    <message>
        <source>%1: KANAL %2 is not between KANAL 1 and KANAL 16 (an empty box for no channel)</source>
        <translation>%1: KANAL %2 liegt nicht zwischen KANAL 1 und KANAL 16 (ein leeres Feld für keinen Kanal)</translation>
    </message>
    <message>
        <source>lower box</source>
        <translation>unteres Feld</translation>
    </message>
    <message>
        <source>upper box</source>
        <translation>oberes Feld</translation>
    </message>
    <message>
        <source>%1, KANALTAUSCHEN, pair %2, %3</source>
        <translation>%1, KANALTAUSCHEN, Paar %2, %3</translation>
    </message>
    <message>
        <source>not converted, the window was closed during the run</source>
        <translation>nicht konvertiert, das Fenster wurde während des Laufs geschlossen</translation>
    </message>
    <message>
        <source>in track %1</source>
        <translation>in Spur %1</translation>
    </message>
    <message>
        <source>in the header</source>
        <translation>im Dateikopf</translation>
    </message>
    <message>
        <source>converted to %1</source>
        <translation>konvertiert zu %1</translation>
    </message>
    <message>
        <source>%1, converted to %2</source>
        <translation>%1, konvertiert zu %2</translation>
    </message>
    <message>
        <source>not a MIDI file</source>
        <translation>keine MIDI-Datei</translation>
    </message>
    <message>
        <source>could not be read: %1</source>
        <translation>konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>could not be written to %1: %2</source>
        <translation>konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>, and </source>
        <translation>, und </translation>
    </message>
    <message>
        <source>skipped, its output %1 would replace the input song %2</source>
        <translation>übersprungen, die Ausgabe %1 würde den Eingangssong %2 ersetzen</translation>
    </message>
    <message>
        <source>skipped, a folder and not a song</source>
        <translation>übersprungen, ein Ordner und kein Song</translation>
    </message>
    <message>
        <source>skipped, no longer there</source>
        <translation>übersprungen, nicht mehr vorhanden</translation>
    </message>
    <message>
        <source>The folder %1 cannot be used: %2
Nothing was converted.</source>
        <translation>Der Ordner %1 kann nicht verwendet werden: %2
Es wurde nichts konvertiert.</translation>
    </message>
    <message>
        <source>KANALTAUSCHEN, upper box</source>
        <translation>KANALTAUSCHEN, oberes Feld</translation>
    </message>
    <message>
        <source>KANALTAUSCHEN, lower box</source>
        <translation>KANALTAUSCHEN, unteres Feld</translation>
    </message>
    <message>
        <source>%1, row %2, %3</source>
        <translation>%1, Zeile %2, %3</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1: the character 0x%2 cannot be written into a song</source>
        <translation>%1: das Zeichen 0x%2 kann nicht in einen Song geschrieben werden</translation>
    </message>
    <message>
        <source>%1: %2 is not between %3 and %4</source>
        <translation>%1: %2 liegt nicht zwischen %3 und %4</translation>
    </message>
    <message>
        <source>("-" for no value)</source>
        <translation>("-" für keinen Wert)</translation>
    </message>
    <message>
        <source>(128: the drum kits of channel 10)</source>
        <translation>(128: die Schlagzeug-Sets auf Kanal 10)</translation>
    </message>
    <message>
        <source>%1, row %2, %3: '%4' is not a whole number</source>
        <translation>%1, Zeile %2, %3: '%4' ist kein gültiger Integerwert</translation>
    </message>
    <message>
        <source>%1, %2: the character "%3" cannot be written into a song</source>
        <translation>%1, %2: das Zeichen "%3" kann nicht in einen Song geschrieben werden</translation>
    </message>
    <message numerus="yes">
        <source>damaged at byte %1 %2, %n record(s) kept</source>
        <translation>
            <numerusform>beschädigt bei Byte %1 %2, %n Eintrag erhalten</numerusform><numerusform>beschädigt bei Byte %1 %2, %n Einträge erhalten</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n song(s): %1 converted, %2 damaged, %3 failed, %4 skipped</source>
        <translation>
            <numerusform>%n Song: %1 konvertiert, %2 beschädigt, %3 fehlgeschlagen, %4 übersprungen</numerusform><numerusform>%n Songs: %1 konvertiert, %2 beschädigt, %3 fehlgeschlagen, %4 übersprungen</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n song(s) left unconverted: the window was closed during the run.</source>
        <translation>
            <numerusform>%n Song nicht konvertiert: das Fenster wurde während des Laufs geschlossen.</numerusform><numerusform>%n Songs nicht konvertiert: das Fenster wurde während des Laufs geschlossen.</numerusform></translation>
    </message>
    <message>
        <source>, chords added</source>
        <translation>, Akkorde ergänzt</translation>
    </message>
    <message>
        <source>, its own chords kept</source>
        <translation>, eigene Akkorde behalten</translation>
    </message>
    <message>
        <source>, no chords found</source>
        <translation>, keine Akkorde gefunden</translation>
    </message>
    <message>
        <source>, chords added to %1, kept in %2</source>
        <translation>, Akkorde ergänzt in %1, behalten in %2</translation>
    </message>
    <message>
        <source>, no words</source>
        <translation>, keine Liedtexte</translation>
    </message>
    <message>
        <source>, words converted (%1 syllables, %2 to %3, %4 characters transliterated)</source>
        <translation>, Liedtext konvertiert (%1 Silben, %2 nach %3, %4 Zeichen transliteriert)</translation>
    </message>
    <message>
        <source>, words converted in %1, %2 characters transliterated</source>
        <translation>, Liedtext konvertiert in %1, %2 Zeichen transliteriert</translation>
    </message>
</context>
<context>
    <name>SettingsInEffect</name>
    <message>
        <source>Applied when converting ("%1" is on).</source>
        <translation>Werden beim Konvertieren angewendet ("%1" ist an).</translation>
    </message>
    <message>
        <source>Not applied when converting ("%1" is off).</source>
        <translation>Werden beim Konvertieren nicht angewendet ("%1" ist aus).</translation>
    </message>
</context>
<context>
    <name>SummaryDialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Save report...</source>
        <translation>Bericht &amp;speichern...</translation>
    </message>
    <message>
        <source>&amp;Open the Convert folder</source>
        <translation>Convert-Ordner ö&amp;ffnen</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>%1: on, every song starts at its first note</source>
        <translation>%1: an, jeder Song beginnt mit seiner ersten Note</translation>
    </message>
    <message>
        <source>Not converted: %1
Only songs (*.mid) and folders with songs are converted, and of two songs with the same name only the first.</source>
        <translation>Nicht konvertiert: %1
Konvertiert werden nur Songs (*.mid) und Ordner mit Songs, und von zwei Songs gleichen Namens nur der erste.</translation>
    </message>
    <message>
        <source>No song is selected in the left list.</source>
        <translation>In der linken Liste ist kein Song ausgewählt.</translation>
    </message>
    <message>
        <source>About Tonalux &amp; Belvorta</source>
        <translation>Über Tonalux &amp; Belvorta</translation>
    </message>
    <message>
        <source>Tonalux &amp; Belvorta - Manual</source>
        <translation>Tonalux &amp; Belvorta - Handbuch</translation>
    </message>
    <message>
        <source>The manual was not found. It is looked for in:
%1</source>
        <translation>Das Handbuch wurde nicht gefunden. Gesucht in:
%1</translation>
    </message>
    <message>
        <source>&amp;About Tonalux &amp; Belvorta</source>
        <translation>&amp;Über Tonalux &amp; Belvorta</translation>
    </message>
    <message>
        <source>&amp;Manual</source>
        <translation>&amp;Handbuch</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Convert the &amp;selected songs</source>
        <translation>Ausgewählte Songs &amp;konvertieren</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tonalux &amp;amp; Belvorta&lt;/b&gt; %1&lt;br&gt;&lt;br&gt;Converts Standard MIDI Files for arranger keyboards.&lt;br&gt;&lt;br&gt;MIT licence: free to use, copy, change and pass on, without any warranty.</source>
        <translation>&lt;b&gt;Tonalux &amp;amp; Belvorta&lt;/b&gt; %1&lt;br&gt;&lt;br&gt;Konvertiert Standard-MIDI-Dateien für Arranger-Keyboards.&lt;br&gt;&lt;br&gt;MIT-Lizenz (MIT licence): frei zu nutzen, zu kopieren, zu ändern und weiterzugeben, ohne jede Gewähr.</translation>
    </message>
    <message>
        <source>No run yet: the report with outcomes covers the last "%1".</source>
        <translation>Noch kein Lauf: der Bericht mit Ergebnissen gilt dem letzten "%1".</translation>
    </message>
    <message>
        <source>Stop converting?

The song being converted is finished; the songs after it are left unconverted and the window closes.</source>
        <translation>Konvertieren abbrechen?

Der Song in Arbeit wird fertig; die Songs danach bleiben unkonvertiert, und das Fenster schließt sich.</translation>
    </message>
    <message>
        <source>Missing: %1 - "%2" offers to create it</source>
        <translation>Fehlt: %1 - "%2" bietet an, ihn anzulegen</translation>
    </message>
    <message>
        <source>Every converted song starts at its first note</source>
        <translation>Jeder konvertierte Song beginnt mit seiner ersten Note</translation>
    </message>
    <message>
        <source>Adds chord symbols to songs that have none</source>
        <translation>Ergänzt Akkordsymbole in Songs, die keine haben</translation>
    </message>
    <message>
        <source>Writes the words of karaoke songs as lyrics the keyboard shows</source>
        <translation>Schreibt die Liedtexte von Karaoke-Songs als Liedtext, den das Keyboard zeigt</translation>
    </message>
    <message>
        <source>Save report with &amp;outcomes...</source>
        <translation>Bericht mit &amp;Ergebnissen speichern...</translation>
    </message>
    <message>
        <source>Open the &amp;Convert folder</source>
        <translation>&amp;Convert-Ordner öffnen</translation>
    </message>
    <message>
        <source>Choose &amp;working folder...</source>
        <translation>&amp;Arbeitsordner wählen...</translation>
    </message>
    <message>
        <source>Choose working folder</source>
        <translation>Arbeitsordner wählen</translation>
    </message>
    <message>
        <source>Missing: %1 - "&amp;FolderConvert" offers to create it</source>
        <translation>Fehlt: %1 - "&amp;FolderConvert" bietet an, ihn anzulegen</translation>
    </message>
    <message>
        <source>No run yet: the report with outcomes covers the last "&amp;FolderConvert".</source>
        <translation>Noch kein Lauf: der Bericht mit Ergebnissen gilt dem letzten "&amp;FolderConvert".</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existiert bereits.
Soll die Datei ersetzt werden?</translation>
    </message>
    <message>
        <source>Not a valid setup file: %1</source>
        <translation>Keine gültige Setupdatei: %1</translation>
    </message>
    <message>
        <source>Not a valid setup file: %1
%2</source>
        <translation>Keine gültige Setupdatei: %1
%2</translation>
    </message>
    <message>
        <source>The program works on the folders Midifile/ (the songs) and Convert/ (the results) in %1.

Missing: %2

Create it now?</source>
        <translation>Das Programm arbeitet mit den Ordnern Midifile/ (die Songs) und Convert/ (die Ergebnisse) in %1.

Es fehlt: %2

Jetzt anlegen?</translation>
    </message>
    <message>
        <source>The folder cannot be created: %1</source>
        <translation>Der Ordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>There are no songs (*.mid) in %1.</source>
        <translation>In %1 liegen keine Songs (*.mid).</translation>
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation>%1 von %2: %3</translation>
    </message>
    <message>
        <source>Converting %1</source>
        <translation>Konvertiert %1</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>The file manager could not be started for %1.</source>
        <translation>Der Dateimanager konnte für %1 nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
</context>
<context>
    <name>SongWindow</name>
    <message>
        <source>The chords of %1 were changed and not saved.
Close without saving?</source>
        <translation>Die Akkorde von %1 wurden geändert und nicht gespeichert.
Ohne Speichern schließen?</translation>
    </message>
    <message numerus="yes">
        <source>%n bar(s), %1</source>
        <translation>
            <numerusform>%n Takt, %1</numerusform><numerusform>%n Takte, %1</numerusform></translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist schon vorhanden.
Soll die Datei ersetzt werden?</translation>
    </message>
    <message>
        <source>Save the song</source>
        <translation>Song speichern</translation>
    </message>
    <message>
        <source>The chord at tick %1, named as the chord lists of tonalux-cli name chords ("Am7", "F#m7  /E"):</source>
        <translation>Der Akkord bei Tick %1, benannt wie in den Akkordlisten von tonalux-cli ("Am7", "F#m7  /E"):</translation>
    </message>
    <message>
        <source>"%1" is not a chord name. Chords are named as the chord lists of tonalux-cli name them: "C", "Am7", "F#m7  /E" (two blanks before the bass).</source>
        <translation>"%1" ist kein Akkordname. Akkorde heißen wie in den Akkordlisten von tonalux-cli: "C", "Am7", "F#m7  /E" (zwei Leerzeichen vor dem Bass).</translation>
    </message>
    <message>
        <source>The notes tell no chords.</source>
        <translation>Die Noten ergeben keine Akkorde.</translation>
    </message>
    <message>
        <source>none, read whole</source>
        <translation>keiner, ganz gelesen</translation>
    </message>
    <message>
        <source>Damage</source>
        <translation>Schaden</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Chords</source>
        <translation>Akkorde</translation>
    </message>
    <message>
        <source>Vocoder</source>
        <translation>Vocoder</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>no key signature</source>
        <translation>kein Vorzeichen angegeben</translation>
    </message>
    <message>
        <source>no key signature; the chords suggest %1</source>
        <translation>kein Vorzeichen angegeben; die Akkorde deuten auf %1</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Tonart</translation>
    </message>
    <message>
        <source>Metre</source>
        <translation>Takt</translation>
    </message>
    <message>
        <source>%1 bpm</source>
        <translation>%1 BPM</translation>
    </message>
    <message>
        <source>Tempo</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Division</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Spuren</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation>%1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>%1 is not a MIDI file.</source>
        <translation>%1 ist keine MIDI-Datei.</translation>
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>A conversion is running; this waits until it is done.</source>
        <translation>Eine Konvertierung läuft; das wartet, bis sie fertig ist.</translation>
    </message>
    <message>
        <source>Click a chord to correct it</source>
        <translation>Einen Akkord anklicken, um ihn zu berichtigen</translation>
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation>&amp;Speichern unter...</translation>
    </message>
    <message>
        <source>Puts the chords the notes suggest in place of the song's chords</source>
        <translation>Setzt die Akkorde, die die Noten nahelegen, an die Stelle der Akkorde des Songs</translation>
    </message>
    <message>
        <source>&amp;Recognise chords</source>
        <translation>Akkorde &amp;erkennen</translation>
    </message>
    <message>
        <source>SMPTE, %1 frames per second, %2 ticks per frame</source>
        <translation>SMPTE, %1 Bilder je Sekunde, %2 Ticks je Bild</translation>
    </message>
    <message>
        <source>%1 ticks per quarter note</source>
        <translation>%1 Ticks je Viertelnote</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
</context>
<context>
    <name>TFInformationen</name>
    <message>
        <source>KANALTAUSCHEN, pair %1: the channels of the upper and the lower box exchange their events; the same channel twice, or an empty box, does nothing</source>
        <translation>KANALTAUSCHEN, Paar %1: die Kanäle des oberen und des unteren Felds tauschen ihre Ereignisse; zweimal derselbe Kanal oder ein leeres Feld bewirkt nichts</translation>
    </message>
    <message>
        <source>TRACKNAME: the song name written into every converted song; empty keeps the song's own</source>
        <translation>TRACKNAME: der Songname jedes konvertierten Songs; leer bleibt der eigene des Songs</translation>
    </message>
    <message>
        <source>COPYRIGHT: the copyright text written into every converted song; empty keeps the song's own</source>
        <translation>COPYRIGHT: der Copyright-Text jedes konvertierten Songs; leer bleibt der eigene des Songs</translation>
    </message>
</context>
<context>
    <name>TFProgrammchange</name>
    <message>
        <source>Row %1, Ziel PRG: the program of the new sound, 1 to 128; "-" keeps the program</source>
        <translation>Zeile %1, Ziel PRG: Programm des neuen Klangs, 1 bis 128; "-" behält das Programm</translation>
    </message>
    <message>
        <source>Row %1, Ziel MSB: the bank select MSB of the new sound, 0 to 127; "-" keeps the bank</source>
        <translation>Zeile %1, Ziel MSB: Bank-MSB des neuen Klangs, 0 bis 127; "-" behält die Bank</translation>
    </message>
    <message>
        <source>Row %1, Quell PRG: the program of the sound to replace, 1 to 128; "-" leaves the row unused</source>
        <translation>Zeile %1, Quell PRG: Programm des zu ersetzenden Klangs, 1 bis 128; "-" lässt die Zeile ungenutzt</translation>
    </message>
    <message>
        <source>Row %1, Quell MSB: the bank select MSB of the sound to replace, 0 to 127, or 128 for the drum kits of channel 10; "-" for any bank</source>
        <translation>Zeile %1, Quell MSB: Bank-MSB des zu ersetzenden Klangs, 0 bis 127, oder 128 für die Drumkits von Kanal 10; "-" für jede Bank</translation>
    </message>
    <message>
        <source>Row %1</source>
        <translation>Zeile %1</translation>
    </message>
    <message>
        <source>Each row replaces a sound: where a program change of the song selects the Quell sound (bank select MSB and program), the Ziel sound is selected instead.

MSB 0 to 127; Quell MSB 128 stands for the drum kits of channel 10.
PRG 1 to 128, as keyboards count programs.
"-" for no value: a row without Quell PRG does nothing.</source>
        <translation>Jede Zeile ersetzt einen Klang: wo ein Programmwechsel des Songs den Quell-Klang (Bank-MSB und Programm) wählt, wird stattdessen der Ziel-Klang gewählt.

MSB 0 bis 127; Quell-MSB 128 steht für die Drumkits von Kanal 10.
PRG 1 bis 128, wie Keyboards Programme zählen.
"-" für keinen Wert: eine Zeile ohne Quell-PRG bewirkt nichts.</translation>
    </message>
</context>
</TS>