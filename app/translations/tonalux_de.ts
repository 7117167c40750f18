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
</TS>