meta:
  id: percorso
  title: Route grid file of a scenario (NAME_NUMBER.dat)
  file-extension: dat
  endian: le
doc: |
  The route grid: one 15-byte cell for every 50 m of line, from the line's
  start to 7000 m past its end, cells 0 to N in order, N = round((L + 7000) / 50)
  with ties to even, L the route length in metres. The file is 15 * (N + 1)
  bytes, with no header, count or trailer: a reader learns N from the size.

  Each cell holds at most one point feature (`tipo` and dato1..dato4) and five
  layers that every cell has (avvicinamento, montagna, velocita, pendenza,
  aderenza). Cell 1 carries two stamps: dato1 = 5121 and dato2 = the plain
  competition code (see docs/formats.md).
doc-ref: docs/formats.md
seq:
  - id: celle
    type: cella
    repeat: eos
    doc: Cells 0 to N; cell i covers metres 50 i to 50 i + 49 and starts at offset 15 i.
types:
  cella:
    seq:
      - id: tipo
        type: u1
        enum: tipo_cella
        valid:
          any-of:
            - tipo_cella::libero
            - tipo_cella::segnale
            - tipo_cella::fine_rallentamento
            - tipo_cella::inizio_rallentamento
            - tipo_cella::avviso_rallentamento
            - tipo_cella::preavviso_rallentamento
            - tipo_cella::indicatore_v_max
            - tipo_cella::stazione
            - tipo_cella::segno_montagna
            - tipo_cella::abbattimento
            - tipo_cella::abbattimento_nullo
            - tipo_cella::cartello
        doc: The point feature this cell holds; 0 when none.
      - id: dato1
        type: s2
        doc: |
          First value of the feature: segnale s1 * 10 + d1; slowdown points
          (2, 3, 4) the slowdown speed in km/h; preavviso_rallentamento 1..4,
          counting back from the warning cell; indicatore_v_max pair a
          (20 * left + right / 5); stazione the station's header record;
          abbattimento the code; cartello the header record of the sign's
          text. In cell 1: the stamp 5121.
      - id: dato2
        type: s2
        doc: |
          Second value: segnale s2 * 10 + d2; slowdown points the source's
          d_v when not 0; preavviso_rallentamento 1..4 again when d_v is not
          0; indicatore_v_max pair b. In cell 1: the plain competition code.
      - id: dato3
        type: s2
        doc: |
          Third value: segnale s3 * 10 + d3; slowdown start and end the
          source's f_tt; indicatore_v_max pair c.
      - id: dato4
        type: s2
        doc: |
          Fourth value: segnale rapp * 10 + sx * 3 + dx; indicatore_v_max
          left stripe * 10 + right stripe.
      - id: tempo
        type: u1
        doc: "Signal cells with sx = 2: the signal's time value (1..100 stored as 101). 0 elsewhere."
      - id: avvicinamento
        type: u1
        doc: |
          Approach board. Before a signal in cell i, cells i-2, i-4, i-6, i-8
          hold sx * 30 + dx * 10 + 1..4; the four cells before a station's stop
          cell hold 81 (nearest) to 84. 0 elsewhere.
      - id: montagna
        type: u1
        doc: Mountain-section type of this cell (a later section overwrites); 0 outside any section.
      - id: velocita
        type: u1
        doc: Line speed limit in km/h divided by 5 (rounded, ties to even).
      - id: pendenza
        type: u1
        doc: Gradient of this cell plus 100, kept to 8 bits.
      - id: aderenza
        type: u1
        doc: Adhesion value of this cell, kept to 8 bits.
    instances:
      velocita_km_h:
        value: velocita * 5
        doc: The line speed limit in km/h.
      pendenza_sorgente:
        value: pendenza - 100
        doc: The gradient as the line source writes it (for gradients from -100 to 155).
enums:
  tipo_cella:
    0:
      id: libero
      doc: nothing
    1:
      id: segnale
      doc: a signal
    2:
      id: fine_rallentamento
      doc: a slowdown's end, at its start + its length
    3:
      id: inizio_rallentamento
      doc: a slowdown's start
    4:
      id: avviso_rallentamento
      doc: a slowdown's warning point, 1200 m before its start (starts beyond 1500 m only)
    5:
      id: preavviso_rallentamento
      doc: one of the four cells just before a warning point
    6:
      id: indicatore_v_max
      doc: a maximum-speed indicator
    10:
      id: stazione
      doc: a station's stop point
    11:
      id: segno_montagna
      doc: a weak mark inside a mountain section; any feature may replace it
    12:
      id: abbattimento
      doc: a code point with a code (from the train source, or 180 from the finishing pass)
    13:
      id: abbattimento_nullo
      doc: a code point without a code
    14:
      id: cartello
      doc: a sign; its text is in a header record
