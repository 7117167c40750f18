<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en_US">
<context>
    <name>MessageDisplay</name>
    <message>
        <source>Unknown error</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>Outcome</name>
    <message>
        <source>in track %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>in the header</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>converted to %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, converted to %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>not a MIDI file</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>could not be read: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>could not be written to %1: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, and </source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>skipped, its output %1 would replace the input song %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>skipped, a folder and not a song</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>skipped, no longer there</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The folder %1 cannot be used: %2
Nothing was converted.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>KANALTAUSCHEN, upper box</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>KANALTAUSCHEN, lower box</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, row %2, %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1: the character 0x%2 cannot be written into a song</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1: %2 is not between %3 and %4</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>("-" for no value)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>(128: the drum kits of channel 10)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, row %2, %3: '%4' is not a whole number</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, %2: the character "%3" cannot be written into a song</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <source>damaged at byte %1 %2, %n record(s) kept</source>
        <translation>
            <numerusform>damaged at byte %1 %2, %n record kept</numerusform><numerusform>damaged at byte %1 %2, %n records kept</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n song(s): %1 converted, %2 damaged, %3 failed, %4 skipped</source>
        <translation>
            <numerusform>%n song: %1 converted, %2 damaged, %3 failed, %4 skipped</numerusform><numerusform>%n songs: %1 converted, %2 damaged, %3 failed, %4 skipped</numerusform></translation>
    </message>
    <message numerus="yes">
        <source>%n song(s) left unconverted: the window was closed during the run.</source>
        <translation>
            <numerusform>%n song left unconverted: the window was closed during the run.</numerusform><numerusform>%n songs left unconverted: the window was closed during the run.</numerusform></translation>
    </message>
    <message>
        <source>, chords added</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, its own chords kept</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, no chords found</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, chords added to %1, kept in %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, no words</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, words converted (%1 syllables, %2 to %3, %4 characters transliterated)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>, words converted in %1, %2 characters transliterated</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SettingsInEffect</name>
    <message>
        <source>Applied when converting ("%1" is on).</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not applied when converting ("%1" is off).</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>SummaryDialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Save report...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Open the Convert folder</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Adds chord symbols to songs that have none</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Writes the words of karaoke songs as lyrics the keyboard shows</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Save report with &amp;outcomes...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Open the &amp;Convert folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Choose &amp;working folder...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Choose working folder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Missing: %1 - "&amp;FolderConvert" offers to create it</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>No run yet: the report with outcomes covers the last "&amp;FolderConvert".</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not a valid setup file: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not a valid setup file: %1
%2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The program works on the folders Midifile/ (the songs) and Convert/ (the results) in %1.

Missing: %2

Create it now?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The folder cannot be created: %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>There are no songs (*.mid) in %1.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Converting %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The file manager could not be started for %1.</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>&amp;Restore</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>