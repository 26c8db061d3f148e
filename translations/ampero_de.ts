<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AcquisitionController</name>
    <message>
        <source>Com%1 is being used!! please select other ComPort.</source>
        <translation>Com%1 wird bereits benutzt! Bitte einen anderen Anschluss wählen.</translation>
    </message>
    <message>
        <source>You may not open the serial port %1.</source>
        <translation>Sie dürfen die serielle Schnittstelle %1 nicht öffnen.</translation>
    </message>
    <message>
        <source>You may not open the serial port %1. It belongs to the group %2: add your user to it (sudo usermod -aG %2 $USER), then log out and in again.</source>
        <translation>Sie dürfen die serielle Schnittstelle %1 nicht öffnen. Sie gehört der Gruppe %2: Fügen Sie Ihren Benutzer dieser Gruppe hinzu (sudo usermod -aG %2 $USER), melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>You may not open the serial port %1, and joining its group %2 would not help: give a group of yours access to it, for example with a udev rule like 60-ampero-meter.rules in Ampero&apos;s documentation folder.</source>
        <translation>Sie dürfen die serielle Schnittstelle %1 nicht öffnen, und ein Beitritt zu ihrer Gruppe %2 würde nicht helfen: Geben Sie einer Ihrer Gruppen Zugriff darauf, zum Beispiel mit einer udev-Regel wie 60-ampero-meter.rules im Dokumentationsordner von Ampero.</translation>
    </message>
</context>
<context>
    <name>AlarmCommand</name>
    <message>
        <source>the alarm command is still busy; %1 not passed on</source>
        <translation>der Alarmbefehl ist noch beschäftigt; %1 nicht weitergegeben</translation>
    </message>
    <message>
        <source>the alarm command %1 cannot be started: %2</source>
        <translation>der Alarmbefehl %1 kann nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>the alarm command %1 crashed</source>
        <translation>der Alarmbefehl %1 ist abgestürzt</translation>
    </message>
    <message>
        <source>the alarm command %1 ended with exit code %2</source>
        <translation>der Alarmbefehl %1 endete mit dem Exit-Code %2</translation>
    </message>
</context>
<context>
    <name>AlarmMonitor</name>
    <message>
        <source>Alarm: first display above high limit %1: %2</source>
        <translation>Alarm: erste Anzeige über der oberen Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm: second display above high limit %1: %2</source>
        <translation>Alarm: zweite Anzeige über der oberen Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm cleared: first display back below high limit %1: %2</source>
        <translation>Alarm aufgehoben: erste Anzeige wieder unter der oberen Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm cleared: second display back below high limit %1: %2</source>
        <translation>Alarm aufgehoben: zweite Anzeige wieder unter der oberen Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm: first display below low limit %1: %2</source>
        <translation>Alarm: erste Anzeige unter der unteren Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm: second display below low limit %1: %2</source>
        <translation>Alarm: zweite Anzeige unter der unteren Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm cleared: first display back above low limit %1: %2</source>
        <translation>Alarm aufgehoben: erste Anzeige wieder über der unteren Grenze %1: %2</translation>
    </message>
    <message>
        <source>Alarm cleared: second display back above low limit %1: %2</source>
        <translation>Alarm aufgehoben: zweite Anzeige wieder über der unteren Grenze %1: %2</translation>
    </message>
</context>
<context>
    <name>AlarmOptions</name>
    <message>
        <source>The low limit must be below the high limit of its display</source>
        <translation>Die untere Grenze muss unter der oberen Grenze ihrer Anzeige liegen</translation>
    </message>
</context>
<context>
    <name>AlarmOptionsBox</name>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Limit alarms</source>
        <translation>Grenzwertalarme</translation>
    </message>
    <message>
        <source>Beep when an alarm is raised</source>
        <translation>Bei einem Alarm piepen</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>First display</source>
        <translation>Erste Anzeige</translation>
    </message>
    <message>
        <source>Second display</source>
        <translation>Zweite Anzeige</translation>
    </message>
    <message>
        <source>Hysteresis:</source>
        <translation>Hysterese:</translation>
    </message>
</context>
<context>
    <name>ColorSwatch</name>
    <message>
        <source>Click here</source>
        <translation>Hier klicken</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>The desktop companion of the clamp-on power meter: the meter&apos;s display, trend charts
and recordings (*.KRD).</source>
        <translation>Der Desktop-Begleiter des Zangen-Leistungsmessers: die Anzeige des Messgeräts, Trenddiagramme
und Aufzeichnungen (*.KRD).</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt die Hilfe zu den Befehlszeilenoptionen an.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Zeigt die Versionsinformationen an.</translation>
    </message>
    <message>
        <source>A recording to open at start, as File &gt; Open does.</source>
        <translation>Eine Aufzeichnung, die beim Start geöffnet wird, wie mit Datei &gt; Öffnen.</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos;.
</source>
        <translation>%1: %2
Siehe &apos;%1 --help&apos;.
</translation>
    </message>
    <message>
        <source>%1: one recording at a time, not %2
Try &apos;%1 --help&apos;.
</source>
        <translation>%1: nur eine Aufzeichnung auf einmal, nicht %2
Siehe &apos;%1 --help&apos;.
</translation>
    </message>
</context>
<context>
    <name>CursorFigures</name>
    <message>
        <source>ΔValue</source>
        <translation>ΔWert</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Energy</source>
        <translation>Energie</translation>
    </message>
    <message>
        <source>Charge</source>
        <translation>Ladung</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>KRD (*.KRD *.krd);;All File (*)</source>
        <translation>KRD (*.KRD *.krd);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV (*.csv *.CSV);;All File (*)</source>
        <translation>CSV (*.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>HelpFrm</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
</context>
<context>
    <name>ListReport</name>
    <message>
        <source>File Name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
</context>
<context>
    <name>MainFrm</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>CSV exportieren...</translation>
    </message>
    <message>
        <source>Print Setup...</source>
        <translation>Druckereinrichtung...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Set Port</source>
        <translation>Anschluss</translation>
    </message>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Readme...</source>
        <translation>Liesmich...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>READING</source>
        <translation>ANZEIGE</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>MAX:</source>
        <translation>MAX:</translation>
    </message>
    <message>
        <source>MIN:</source>
        <translation>MIN:</translation>
    </message>
    <message>
        <source>AVG:</source>
        <translation>MW:</translation>
    </message>
    <message>
        <source>%1 maximum</source>
        <translation>%1 Maximum</translation>
    </message>
    <message>
        <source>%1 time of the maximum</source>
        <translation>%1 Zeitpunkt des Maximums</translation>
    </message>
    <message>
        <source>%1 minimum</source>
        <translation>%1 Minimum</translation>
    </message>
    <message>
        <source>%1 time of the minimum</source>
        <translation>%1 Zeitpunkt des Minimums</translation>
    </message>
    <message>
        <source>%1 average</source>
        <translation>%1 Mittelwert</translation>
    </message>
    <message>
        <source>%1 time of the last sample</source>
        <translation>%1 Zeitpunkt des letzten Messwerts</translation>
    </message>
    <message>
        <source>ALL AREA</source>
        <translation>GESAMT</translation>
    </message>
    <message>
        <source>VISUAL AREA</source>
        <translation>SICHTBARER BEREICH</translation>
    </message>
    <message>
        <source>First display: the meter&apos;s upper reading</source>
        <translation>Erste Anzeige: der obere Messwert des Messgeräts</translation>
    </message>
    <message>
        <source>Second display: the meter&apos;s lower reading</source>
        <translation>Zweite Anzeige: der untere Messwert des Messgeräts</translation>
    </message>
    <message>
        <source>Memory location of the meter (MR: recalled, MEM: stored)</source>
        <translation>Speicherplatz des Messgeräts (MR: abgerufen, MEM: gespeichert)</translation>
    </message>
    <message>
        <source>Open the serial port and record the meter&apos;s readings</source>
        <translation>Die serielle Schnittstelle öffnen und die Messwerte des Messgeräts aufzeichnen</translation>
    </message>
    <message>
        <source>Stop recording and close the serial port</source>
        <translation>Die Aufzeichnung beenden und die serielle Schnittstelle schließen</translation>
    </message>
    <message>
        <source>First display over time; click to read a sample&apos;s value and time</source>
        <translation>Erste Anzeige über der Zeit; ein Klick zeigt Wert und Zeit eines Messwerts</translation>
    </message>
    <message>
        <source>Second display over time; click to read a sample&apos;s value and time</source>
        <translation>Zweite Anzeige über der Zeit; ein Klick zeigt Wert und Zeit eines Messwerts</translation>
    </message>
    <message>
        <source>Move both charts through the recording</source>
        <translation>Beide Diagramme durch die Aufzeichnung bewegen</translation>
    </message>
    <message>
        <source>Largest first-display value of the whole recording</source>
        <translation>Größter Wert der ersten Anzeige in der ganzen Aufzeichnung</translation>
    </message>
    <message>
        <source>When the largest value of the whole recording was taken</source>
        <translation>Wann der größte Wert der ganzen Aufzeichnung gemessen wurde</translation>
    </message>
    <message>
        <source>Smallest first-display value of the whole recording</source>
        <translation>Kleinster Wert der ersten Anzeige in der ganzen Aufzeichnung</translation>
    </message>
    <message>
        <source>When the smallest value of the whole recording was taken</source>
        <translation>Wann der kleinste Wert der ganzen Aufzeichnung gemessen wurde</translation>
    </message>
    <message>
        <source>Average of the first display over the whole recording</source>
        <translation>Mittelwert der ersten Anzeige über die ganze Aufzeichnung</translation>
    </message>
    <message>
        <source>When the newest sample was taken</source>
        <translation>Wann der neueste Messwert gemessen wurde</translation>
    </message>
    <message>
        <source>Largest first-display value the charts show</source>
        <translation>Größter Wert der ersten Anzeige, den die Diagramme zeigen</translation>
    </message>
    <message>
        <source>When the largest value the charts show was taken</source>
        <translation>Wann der größte Wert, den die Diagramme zeigen, gemessen wurde</translation>
    </message>
    <message>
        <source>Smallest first-display value the charts show</source>
        <translation>Kleinster Wert der ersten Anzeige, den die Diagramme zeigen</translation>
    </message>
    <message>
        <source>When the smallest value the charts show was taken</source>
        <translation>Wann der kleinste Wert, den die Diagramme zeigen, gemessen wurde</translation>
    </message>
    <message>
        <source>Average of the first display over the samples the charts show</source>
        <translation>Mittelwert der ersten Anzeige über die Messwerte, die die Diagramme zeigen</translation>
    </message>
    <message>
        <source>When the last sample the charts show was taken</source>
        <translation>Wann der letzte Messwert, den die Diagramme zeigen, gemessen wurde</translation>
    </message>
    <message>
        <source>The sample clicked on the upper chart: value and time</source>
        <translation>Der im oberen Diagramm angeklickte Messwert: Wert und Zeit</translation>
    </message>
    <message>
        <source>The sample clicked on the lower chart: value and time</source>
        <translation>Der im unteren Diagramm angeklickte Messwert: Wert und Zeit</translation>
    </message>
    <message>
        <source>First display</source>
        <translation>Erste Anzeige</translation>
    </message>
    <message>
        <source>Second display</source>
        <translation>Zweite Anzeige</translation>
    </message>
    <message>
        <source>Memory location</source>
        <translation>Speicherplatz</translation>
    </message>
    <message>
        <source>First display chart</source>
        <translation>Diagramm der ersten Anzeige</translation>
    </message>
    <message>
        <source>Second display chart</source>
        <translation>Diagramm der zweiten Anzeige</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Recording from COM%1 (%2)</source>
        <translation>Aufzeichnung von COM%1 (%2)</translation>
    </message>
    <message>
        <source>Connection to %1 lost — reconnecting…</source>
        <translation>Verbindung zu %1 verloren — neuer Verbindungsversuch…</translation>
    </message>
    <message>
        <source>Unsaved samples are not protected: %1</source>
        <translation>Ungespeicherte Messwerte sind nicht gesichert: %1</translation>
    </message>
    <message>
        <source>Damaged frames dropped: %L1</source>
        <translation>Beschädigte Rahmen verworfen: %L1</translation>
    </message>
    <message>
        <source>Damaged frames kept: %L1</source>
        <translation>Beschädigte Rahmen behalten: %L1</translation>
    </message>
    <message>
        <source>%1 change of function not answered in %2 s: taken as No, recording goes on</source>
        <translation>%1 Funktionswechsel nicht innerhalb von %2 s beantwortet: als Nein gewertet, die Aufzeichnung läuft weiter</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Pan &amp;Left</source>
        <translation>Nach &amp;links schieben</translation>
    </message>
    <message>
        <source>Pan &amp;Right</source>
        <translation>Nach &amp;rechts schieben</translation>
    </message>
    <message>
        <source>Go to &amp;Start</source>
        <translation>Zum &amp;Anfang</translation>
    </message>
    <message>
        <source>Go to &amp;End</source>
        <translation>Zum &amp;Ende</translation>
    </message>
    <message>
        <source>Fit all</source>
        <translation>Alles zeigen</translation>
    </message>
    <message>
        <source>Back to live</source>
        <translation>Zurück zu live</translation>
    </message>
    <message>
        <source>Reset &amp;Vertical Zoom</source>
        <translation>Senkrechten Zoom &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>Cursor &amp;A at the Marked Sample</source>
        <translation>Cursor &amp;A auf den markierten Messwert</translation>
    </message>
    <message>
        <source>Cursor &amp;B at the Marked Sample</source>
        <translation>Cursor &amp;B auf den markierten Messwert</translation>
    </message>
    <message>
        <source>&amp;Clear Cursors</source>
        <translation>Cursor &amp;entfernen</translation>
    </message>
    <message>
        <source>Not following the newest sample — View ▸ Back to live (L)</source>
        <translation>Folgt nicht dem neuesten Messwert — Ansicht ▸ Zurück zu live (L)</translation>
    </message>
    <message>
        <source>Cursors</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>Alt+click sets A, Ctrl+click sets B</source>
        <translation>Alt+Klick setzt A, Strg+Klick setzt B</translation>
    </message>
    <message>
        <source>&lt;b&gt;Samples 1 to %1&lt;/b&gt;&lt;table&gt;</source>
        <translation>&lt;b&gt;Messwerte 1 bis %1&lt;/b&gt;&lt;table&gt;</translation>
    </message>
    <message>
        <source>&lt;tr&gt;&lt;th&gt;&lt;/th&gt;&lt;th&gt;First display&lt;/th&gt;&lt;th&gt;Second display&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;tr&gt;&lt;th&gt;&lt;/th&gt;&lt;th&gt;Erste Anzeige&lt;/th&gt;&lt;th&gt;Zweite Anzeige&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Erster</translation>
    </message>
    <message>
        <source>Newest</source>
        <translation>Neuester</translation>
    </message>
</context>
<context>
    <name>MqttSession</name>
    <message>
        <source>the MQTT broker at %1 did not answer within %2 s</source>
        <translation>der MQTT-Broker unter %1 hat nicht innerhalb von %2 s geantwortet</translation>
    </message>
    <message>
        <source>the host name cannot be looked up</source>
        <translation>der Hostname kann nicht aufgelöst werden</translation>
    </message>
    <message>
        <source>no TLS connection with the MQTT broker at %1: its certificate is not trusted or not made out to that name, or the port does not speak TLS</source>
        <translation>keine TLS-Verbindung mit dem MQTT-Broker unter %1: Sein Zertifikat ist nicht vertrauenswürdig oder nicht auf diesen Namen ausgestellt, oder der Port spricht kein TLS</translation>
    </message>
    <message>
        <source>cannot reach the MQTT broker at %1: %2</source>
        <translation>der MQTT-Broker unter %1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>cannot make an MQTT client: %1</source>
        <translation>kein MQTT-Client möglich: %1</translation>
    </message>
    <message>
        <source>cannot set up the MQTT client: %1</source>
        <translation>der MQTT-Client kann nicht eingerichtet werden: %1</translation>
    </message>
    <message>
        <source>lost the connection to the MQTT broker at %1: %2</source>
        <translation>die Verbindung zum MQTT-Broker unter %1 ist abgerissen: %2</translation>
    </message>
    <message>
        <source>the MQTT broker at %1 refused the connection: %2</source>
        <translation>der MQTT-Broker unter %1 hat die Verbindung abgelehnt: %2</translation>
    </message>
    <message>
        <source>the MQTT broker at %1 closed the connection</source>
        <translation>der MQTT-Broker unter %1 hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>lost the connection to the MQTT broker at %1</source>
        <translation>die Verbindung zum MQTT-Broker unter %1 ist abgerissen</translation>
    </message>
</context>
<context>
    <name>OptionFrm</name>
    <message>
        <source>Auto</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manuell</translation>
    </message>
    <message>
        <source>TimeMode</source>
        <translation>Zeitachse</translation>
    </message>
    <message>
        <source>Default Color</source>
        <translation>Standardfarben</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>First Trend</source>
        <translation>Erster Verlauf</translation>
    </message>
    <message>
        <source>Y-Max:</source>
        <translation>Y-Max:</translation>
    </message>
    <message>
        <source>Y-Min:</source>
        <translation>Y-Min:</translation>
    </message>
    <message>
        <source>Second Trend</source>
        <translation>Zweiter Verlauf</translation>
    </message>
    <message>
        <source>Coordinate</source>
        <translation>Koordinaten</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Interval</source>
        <translation>Intervall</translation>
    </message>
    <message>
        <source>Sec</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Raster</translation>
    </message>
    <message>
        <source>Cols</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Erster</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Zweiter</translation>
    </message>
    <message>
        <source>Line Width:</source>
        <translation>Linienbreite:</translation>
    </message>
    <message>
        <source>First Trend BkColor:</source>
        <translation>Hintergrund erster Verlauf:</translation>
    </message>
    <message>
        <source>Second Trend BkColor:</source>
        <translation>Hintergrund zweiter Verlauf:</translation>
    </message>
    <message>
        <source>First Trend ForeColor:</source>
        <translation>Linie erster Verlauf:</translation>
    </message>
    <message>
        <source>Second Trend ForeColor:</source>
        <translation>Linie zweiter Verlauf:</translation>
    </message>
    <message>
        <source>First Trend Grid Color:</source>
        <translation>Raster erster Verlauf:</translation>
    </message>
    <message>
        <source>Second Trend Grid Color:</source>
        <translation>Raster zweiter Verlauf:</translation>
    </message>
    <message>
        <source>Discard damaged frames</source>
        <translation>Beschädigte Rahmen verwerfen</translation>
    </message>
</context>
<context>
    <name>OptionSettings</name>
    <message>
        <source>You must input numeric!!!</source>
        <translation>Bitte eine Zahl eingeben!</translation>
    </message>
    <message>
        <source>600&gt;InterValue&gt;0</source>
        <translation>600&gt;Intervall&gt;0</translation>
    </message>
    <message>
        <source>input error!!!!, Please input  &apos;5=&lt;X&lt;300&apos;</source>
        <translation>Eingabefehler! Bitte eingeben:  &apos;5=&lt;X&lt;300&apos;</translation>
    </message>
    <message>
        <source>A limit must be a number, or empty for no limit</source>
        <translation>Eine Grenze muss eine Zahl sein, oder leer für keine Grenze</translation>
    </message>
    <message>
        <source>The hysteresis must be a number, 0 or more and below 10000</source>
        <translation>Die Hysterese muss eine Zahl sein, 0 oder mehr und unter 10000</translation>
    </message>
</context>
<context>
    <name>PreViewFrm</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>PageUp</source>
        <translation>Seite zurück</translation>
    </message>
    <message>
        <source>PageDown</source>
        <translation>Seite vor</translation>
    </message>
</context>
<context>
    <name>PrintFrm</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Drucker:</translation>
    </message>
    <message>
        <source>Printer name</source>
        <translation>Druckername</translation>
    </message>
    <message>
        <source>Print Range</source>
        <translation>Druckbereich</translation>
    </message>
    <message>
        <source>Visual  Area</source>
        <translation>Sichtbarer Bereich</translation>
    </message>
    <message>
        <source>All  Area</source>
        <translation>Gesamter Bereich</translation>
    </message>
    <message>
        <source>Print What</source>
        <translation>Was drucken</translation>
    </message>
    <message>
        <source>First Trend Graph</source>
        <translation>Erster Verlauf</translation>
    </message>
    <message>
        <source>Second Trend Graph</source>
        <translation>Zweiter Verlauf</translation>
    </message>
    <message>
        <source>List Report</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>PreView...</source>
        <translation>Vorschau...</translation>
    </message>
    <message>
        <source>Setup...</source>
        <translation>Einrichten...</translation>
    </message>
    <message>
        <source>PDF file</source>
        <translation>PDF-Datei</translation>
    </message>
    <message>
        <source>Waring</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>No data for print!!</source>
        <translation>Keine Daten zum Drucken!</translation>
    </message>
    <message>
        <source>Printing...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Page %1 of %2 printed</source>
        <translation>Seite %1 von %2 gedruckt</translation>
    </message>
    <message>
        <source>The printout could not be written to %1.</source>
        <translation>Der Ausdruck konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The printer %1 did not accept the printout.</source>
        <translation>Der Drucker %1 hat den Ausdruck nicht angenommen.</translation>
    </message>
</context>
<context>
    <name>PrintPrompts</name>
    <message>
        <source>Print Setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Print to PDF File</source>
        <translation>In PDF-Datei drucken</translation>
    </message>
</context>
<context>
    <name>ProgramVersion</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
</context>
<context>
    <name>PublishOptionsBox</name>
    <message>
        <source>MQTT</source>
        <translation>MQTT</translation>
    </message>
    <message>
        <source>Publish to MQTT broker</source>
        <translation>An MQTT-Broker senden</translation>
    </message>
    <message>
        <source>mqtt://host:1883 or mqtts://host:8883</source>
        <translation>mqtt://host:1883 oder mqtts://host:8883</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <source>the password is its first line</source>
        <translation>das Passwort ist seine erste Zeile</translation>
    </message>
    <message>
        <source>with mqtts://: the system&apos;s certificates</source>
        <translation>bei mqtts://: die Zertifikate des Systems</translation>
    </message>
    <message>
        <source>the port&apos;s device name</source>
        <translation>der Gerätename der Schnittstelle</translation>
    </message>
    <message>
        <source>Broker URL:</source>
        <translation>Broker-URL:</translation>
    </message>
    <message>
        <source>User:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password file:</source>
        <translation>Passwortdatei:</translation>
    </message>
    <message>
        <source>CA file:</source>
        <translation>CA-Datei:</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>Station:</translation>
    </message>
    <message>
        <source>Meter:</source>
        <translation>Messgerät:</translation>
    </message>
</context>
<context>
    <name>PublishSettings</name>
    <message>
        <source>&apos;%1&apos; is no broker address like mqtt://host:1883</source>
        <translation>&apos;%1&apos; ist keine Broker-Adresse wie mqtt://host:1883</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no broker address: it must begin with mqtt:// or mqtts://</source>
        <translation>&apos;%1&apos; ist keine Broker-Adresse: Sie muss mit mqtt:// oder mqtts:// beginnen</translation>
    </message>
    <message>
        <source>give the user with --mqtt-user and the password with --mqtt-password-file, not in the broker address</source>
        <translation>geben Sie den Benutzer mit --mqtt-user und das Passwort mit --mqtt-password-file an, nicht in der Broker-Adresse</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: a broker address has no path</source>
        <translation>&apos;%1&apos;: eine Broker-Adresse hat keinen Pfad</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: a broker address has no query or fragment</source>
        <translation>&apos;%1&apos;: eine Broker-Adresse hat weder Abfrage noch Fragment</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: the port must be 1 to 65535</source>
        <translation>&apos;%1&apos;: der Port muss 1 bis 65535 sein</translation>
    </message>
</context>
<context>
    <name>ReceiveCycle</name>
    <message>
        <source>You change measurement function, create new file??</source>
        <translation>Die Messfunktion wurde gewechselt. Eine neue Datei anlegen?</translation>
    </message>
</context>
<context>
    <name>RecordCommands</name>
    <message>
        <source>Cannot save the recording to &quot;%1&quot;:
%2.
The recording has not been saved.</source>
        <translation>Die Aufzeichnung kann nicht in „%1“ gespeichert werden:
%2.
Die Aufzeichnung wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>Save File Before Create New File?</source>
        <translation>Datei speichern, bevor eine neue Datei angelegt wird?</translation>
    </message>
    <message>
        <source>Save File Before Reloading?</source>
        <translation>Datei vor dem Neuladen speichern?</translation>
    </message>
    <message>
        <source>Cannot open the file &quot;%1&quot;:
%2.</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden:
%2.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; has been changed by another program since it was opened or last saved.
Replace it with this recording?</source>
        <translation>Die Datei „%1“ wurde seit dem Öffnen oder letzten Speichern von einem anderen Programm geändert.
Soll sie durch diese Aufzeichnung ersetzt werden?</translation>
    </message>
    <message>
        <source>Cannot export the recording to &quot;%1&quot;:
%2.</source>
        <translation>Die Aufzeichnung kann nicht nach „%1“ exportiert werden:
%2.</translation>
    </message>
</context>
<context>
    <name>RecordFile</name>
    <message>
        <source>the recording in memory is inconsistent</source>
        <translation>die Aufzeichnung im Speicher ist widersprüchlich</translation>
    </message>
    <message>
        <source>nothing more could be written</source>
        <translation>es konnte nichts mehr geschrieben werden</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>the file is shorter than one record (%1 bytes; a record has %2)</source>
        <translation>die Datei ist kürzer als ein Datensatz (%1 Bytes; ein Datensatz hat %2)</translation>
    </message>
    <message>
        <source>the file holds %1 records; at most %2 are supported</source>
        <translation>die Datei enthält %1 Datensätze; höchstens %2 werden unterstützt</translation>
    </message>
    <message>
        <source>the file became shorter while it was read</source>
        <translation>die Datei wurde während des Lesens kürzer</translation>
    </message>
</context>
<context>
    <name>RecordingSession</name>
    <message>
        <source>Save File Before Quite?</source>
        <translation>Datei vor dem Beenden speichern?</translation>
    </message>
</context>
<context>
    <name>RecordingWriter</name>
    <message>
        <source>the recording in memory is inconsistent</source>
        <translation>die Aufzeichnung im Speicher ist widersprüchlich</translation>
    </message>
    <message>
        <source>nothing more could be written</source>
        <translation>es konnte nichts mehr geschrieben werden</translation>
    </message>
    <message>
        <source>the file was removed or replaced while it was written</source>
        <translation>die Datei wurde beim Schreiben entfernt oder ersetzt</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>RecoveryJournal</name>
    <message>
        <source>%1 cannot be removed: %2</source>
        <translation>%1 kann nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>A recording was not saved when Ampero last closed. Recover it?</source>
        <translation>Beim letzten Beenden von Ampero blieb eine Aufzeichnung ungespeichert. Wiederherstellen?</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>the lock file keeps changing</source>
        <translation>die Sperrdatei ändert sich laufend</translation>
    </message>
    <message>
        <source>all %1 journal names are taken</source>
        <translation>alle %1 Namen für Sicherungsdateien sind vergeben</translation>
    </message>
    <message>
        <source>Cannot recover the recording from &quot;%1&quot;:
%2.</source>
        <translation>Die Aufzeichnung kann nicht aus „%1“ wiederhergestellt werden:
%2.</translation>
    </message>
</context>
<context>
    <name>SamplePublisher</name>
    <message>
        <source>connecting to the MQTT broker at %1</source>
        <translation>Verbindung zum MQTT-Broker unter %1 wird aufgebaut</translation>
    </message>
    <message>
        <source>stopped publishing to the MQTT broker at %1</source>
        <translation>Senden an den MQTT-Broker unter %1 beendet</translation>
    </message>
    <message>
        <source>publishing to the MQTT broker at %1 as %2</source>
        <translation>sendet an den MQTT-Broker unter %1 als %2</translation>
    </message>
    <message>
        <source>; sending the %1 samples it has not had yet</source>
        <translation>; sendet die %1 Messwerte, die er noch nicht hat</translation>
    </message>
    <message>
        <source> (%1 older samples lie beyond the backlog and are left out)</source>
        <translation> (%1 ältere Messwerte liegen jenseits des Rückstands und werden ausgelassen)</translation>
    </message>
    <message>
        <source>%1; trying again in %2 s; recording goes on</source>
        <translation>%1; neuer Versuch in %2 s; die Aufzeichnung läuft weiter</translation>
    </message>
</context>
<context>
    <name>SplitRecorder</name>
    <message>
        <source>cannot write %1: the folder %2 is missing or cannot be written</source>
        <translation>%1 kann nicht geschrieben werden: Der Ordner %2 fehlt oder ist nicht beschreibbar</translation>
    </message>
</context>
<context>
    <name>TrendPages</name>
    <message>
        <source>File Name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Print Date:</source>
        <translation>Druckdatum:</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Einheit:</translation>
    </message>
    <message>
        <source>All Area:    Max=</source>
        <translation>Gesamt:    Max=</translation>
    </message>
    <message>
        <source>Min=</source>
        <translation>Min=</translation>
    </message>
    <message>
        <source>Avg=</source>
        <translation>MW=</translation>
    </message>
    <message>
        <source>Visual Area:    Max=</source>
        <translation>Sichtbar:    Max=</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>First display over time</source>
        <translation>Erste Anzeige über der Zeit</translation>
    </message>
    <message>
        <source>Second display over time</source>
        <translation>Zweite Anzeige über der Zeit</translation>
    </message>
    <message>
        <source>%1, no samples</source>
        <translation>%1, keine Messwerte</translation>
    </message>
    <message>
        <source>%1 from %2 to %3, newest value %4</source>
        <translation>%1 von %2 bis %3, neuester Wert %4</translation>
    </message>
</context>
<context>
    <name>WindowPublishing</name>
    <message>
        <source>MQTT: no broker URL in Options; not publishing</source>
        <translation>MQTT: keine Broker-URL in den Optionen; es wird nicht gesendet</translation>
    </message>
    <message>
        <source>MQTT: %1; not publishing</source>
        <translation>MQTT: %1; es wird nicht gesendet</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Records, charts and prints the readings of a clamp-on power meter.</source>
        <translation>Zeichnet die Messwerte einer Leistungsmesszange auf, zeigt sie als Diagramm und druckt sie.</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
</TS>
