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
        <source>%1: KANAL %2 is not between KANAL 1 and KANAL 16 (an empty box for no channel)</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>lower box</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>upper box</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1, KANALTAUSCHEN, pair %2, %3</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>not converted, the window was closed during the run</source>
        <translation type="unfinished" />
    </message>
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
        <source>%1: on, every song starts at its first note</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Not converted: %1
Only songs (*.mid) and folders with songs are converted, and of two songs with the same name only the first.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>No song is selected in the left list.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>About Tonalux &amp; Belvorta</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Tonalux &amp; Belvorta - Manual</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The manual was not found. It is looked for in:
%1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;About Tonalux &amp; Belvorta</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Manual</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Convert the &amp;selected songs</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&lt;b&gt;Tonalux &amp;amp; Belvorta&lt;/b&gt; %1&lt;br&gt;&lt;br&gt;Converts Standard MIDI Files for arranger keyboards.&lt;br&gt;&lt;br&gt;MIT licence: free to use, copy, change and pass on, without any warranty.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>No run yet: the report with outcomes covers the last "%1".</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Stop converting?

The song being converted is finished; the songs after it are left unconverted and the window closes.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Missing: %1 - "%2" offers to create it</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Every converted song starts at its first note</source>
        <translation type="unfinished" />
    </message>
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
<context>
    <name>SongWindow</name>
    <message>
        <source>The chords of %1 were changed and not saved.
Close without saving?</source>
        <translation type="unfinished" />
    </message>
    <message numerus="yes">
        <source>%n bar(s), %1</source>
        <translation>
            <numerusform>%n bar, %1</numerusform><numerusform>%n bars, %1</numerusform></translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Save the song</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The chord at tick %1, named as the chord lists of tonalux-cli name chords ("Am7", "F#m7  /E"):</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>"%1" is not a chord name. Chords are named as the chord lists of tonalux-cli name them: "C", "Am7", "F#m7  /E" (two blanks before the bass).</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>The notes tell no chords.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>none, read whole</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Damage</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Words</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Chords</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Vocoder</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Length</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>no key signature</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>no key signature; the chords suggest %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Key</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Metre</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 bpm</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Tempo</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Division</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Tracks</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Format</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>channel %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be read.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 is not a MIDI file.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 could not be read: %2</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>A conversion is running; this waits until it is done.</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Click a chord to correct it</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Save as...</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Puts the chords the notes suggest in place of the song's chords</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>&amp;Recognise chords</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>SMPTE, %1 frames per second, %2 ticks per frame</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>%1 ticks per quarter note</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TFInformationen</name>
    <message>
        <source>KANALTAUSCHEN, pair %1: the channels of the upper and the lower box exchange their events; the same channel twice, or an empty box, does nothing</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>TRACKNAME: the song name written into every converted song; empty keeps the song's own</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>COPYRIGHT: the copyright text written into every converted song; empty keeps the song's own</source>
        <translation type="unfinished" />
    </message>
</context>
<context>
    <name>TFProgrammchange</name>
    <message>
        <source>Row %1, Ziel PRG: the program of the new sound, 1 to 128; "-" keeps the program</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Row %1, Ziel MSB: the bank select MSB of the new sound, 0 to 127; "-" keeps the bank</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Row %1, Quell PRG: the program of the sound to replace, 1 to 128; "-" leaves the row unused</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Row %1, Quell MSB: the bank select MSB of the sound to replace, 0 to 127, or 128 for the drum kits of channel 10; "-" for any bank</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Row %1</source>
        <translation type="unfinished" />
    </message>
    <message>
        <source>Each row replaces a sound: where a program change of the song selects the Quell sound (bank select MSB and program), the Ziel sound is selected instead.

MSB 0 to 127; Quell MSB 128 stands for the drum kits of channel 10.
PRG 1 to 128, as keyboards count programs.
"-" for no value: a row without Quell PRG does nothing.</source>
        <translation type="unfinished" />
    </message>
</context>
</TS>