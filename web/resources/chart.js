// The browser side of the chart controls: bar charts with their legend, and tables sorted by
// a click on a column title and filtered by a text per column. Both read the JSON data set
// that the server wrote inside the control. Texts only ever reach the page as text nodes.
(function () {
  'use strict';
  var SVG = 'http://www.w3.org/2000/svg';
  var PLOT_HEIGHT = 300;
  var TOP = 16;
  var LABEL_SPACE = 70;
  var AXIS_LEFT = 8;
  var MAX_UPRIGHT_BARS = 30;

  function readData(box) {
    var node = box.querySelector('script.iw-data');
    try { return node ? JSON.parse(node.textContent) : null; } catch (err) { return null; }
  }

  // A cell as a number, or NaN when its text is not one ('' is not 0).
  function numberOf(text) {
    var s = String(text).trim();
    return s === '' ? NaN : Number(s);
  }

  function svg(name, attrs, text) {
    var el = document.createElementNS(SVG, name);
    Object.keys(attrs).forEach(function (k) { el.setAttribute(k, String(attrs[k])); });
    if (text !== undefined) el.textContent = text;
    return el;
  }

  function html(name, className, text) {
    var el = document.createElement(name);
    if (className) el.className = className;
    if (text !== undefined) el.textContent = text;
    return el;
  }

  // Sums shown with at most three decimals, without trailing zeros.
  function sumText(value) {
    return String(Math.round(value * 1000) / 1000);
  }

  // One bar per distinct category in row order; its value is the sum over the category's rows.
  function bars(data) {
    var ci = data.columns.indexOf(data.category);
    var vi = data.columns.indexOf(data.value);
    if (ci < 0 || vi < 0) return [];
    var byCategory = new Map();
    var order = [];
    data.rows.forEach(function (row) {
      var category = String(row[ci] === undefined ? '' : row[ci]);
      var v = numberOf(row[vi]);
      if (isNaN(v)) v = 0;
      var bar = byCategory.get(category);
      if (!bar) {
        bar = { category: category, value: 0, rows: 0, text: String(row[vi]) };
        byCategory.set(category, bar);
        order.push(bar);
      }
      bar.value += v;
      bar.rows += 1;
    });
    order.forEach(function (bar) { if (bar.rows > 1) bar.text = sumText(bar.value); });
    return order;
  }

  // The value written in its bar: across the bar when it fits, else along it; above the bar
  // when the bar is too short to hold it.
  function valueText(text, center, base, h, w) {
    var length = text.length * 7;
    var across = w >= length + 4;
    var inside = across ? h >= 18 : h >= length + 8;
    var y = across ? (inside ? base - h + 14 : base - h - 4) : (inside ? base - h + 4 : base - h - 4);
    var el = svg('text', { x: center, y: y, 'class': 'iw-bar-value', fill: inside ? '#fff' : '#333',
                           'text-anchor': across ? 'middle' : inside ? 'end' : 'start' }, text);
    if (!across) {
      el.setAttribute('transform', 'rotate(-90 ' + center + ' ' + y + ')');
      el.setAttribute('dominant-baseline', 'middle');
    }
    return el;
  }

  function drawBars(area, list, colors, showValues) {
    var width = Math.max(area.clientWidth || 0, 300);
    var slot = Math.max(18, Math.min(90, (width - AXIS_LEFT - 10) / Math.max(list.length, 1)));
    var chartWidth = AXIS_LEFT + slot * list.length + 10;
    var max = list.reduce(function (m, b) { return Math.max(m, b.value); }, 0);
    var root = svg('svg', { width: chartWidth, height: TOP + PLOT_HEIGHT + LABEL_SPACE,
                            'class': 'iw-chart-svg', role: 'img' });
    var base = TOP + PLOT_HEIGHT;
    root.appendChild(svg('line', { x1: AXIS_LEFT, y1: base, x2: chartWidth - 4, y2: base,
                                   stroke: '#666' }));
    list.forEach(function (bar, i) {
      var h = max > 0 && bar.value > 0 ? bar.value / max * PLOT_HEIGHT : 0;
      var x = AXIS_LEFT + i * slot + slot * 0.15;
      var w = slot * 0.7;
      var center = x + w / 2;
      var rect = svg('rect', { x: x, y: base - h, width: w, height: h,
                               fill: colors.length ? colors[i % colors.length] : '#416674',
                               'class': 'iw-bar' });
      rect.appendChild(svg('title', {}, bar.category + ': ' + bar.text));
      root.appendChild(rect);
      if (showValues) root.appendChild(valueText(bar.text, center, base, h, w));
      var label = svg('text', { x: center, y: base + 12, 'class': 'iw-bar-label',
                                'text-anchor': 'end',
                                transform: 'rotate(-40 ' + center + ' ' + (base + 12) + ')' },
                      bar.category);
      root.appendChild(label);
    });
    area.textContent = '';
    area.appendChild(root);
  }

  // A tidy step for a value axis of about five ticks: 1, 2 or 5 times a power of ten.
  function tickStep(max) {
    var raw = max / 5;
    var power = Math.pow(10, Math.floor(Math.log10(raw)));
    var m = raw / power;
    return (m <= 1 ? 1 : m <= 2 ? 2 : m <= 5 ? 5 : 10) * power;
  }

  // Many groups: one row a group, its name beside its bar and the value after it, under a
  // value axis; the rows scroll inside the chart's box, so no label lies on another.
  function drawHorizontalBars(area, list, colors) {
    var width = Math.max(area.clientWidth || 0, 300) - 20;
    var labelWidth = 110;
    var valueWidth = 56;
    var plot = width - labelWidth - valueWidth;
    var row = 18;
    var axis = 22;
    var max = list.reduce(function (m, b) { return Math.max(m, b.value); }, 0);
    var step = max > 0 ? tickStep(max) : 1;
    var top = max > 0 ? Math.ceil(max / step) * step : 1;
    var root = svg('svg', { width: width, height: axis + row * list.length + 4,
                            'class': 'iw-chart-svg iw-chart-rows', role: 'img' });
    for (var t = 0; t <= top + step / 2; t += step) {
      var x = labelWidth + t / top * plot;
      root.appendChild(svg('line', { x1: x, y1: axis - 4, x2: x, y2: axis + row * list.length,
                                     stroke: '#ddd' }));
      root.appendChild(svg('text', { x: x, y: axis - 8, 'class': 'iw-bar-label',
                                     'text-anchor': 'middle' }, sumText(t)));
    }
    list.forEach(function (bar, i) {
      var y = axis + i * row;
      var w = bar.value > 0 ? bar.value / top * plot : 0;
      var label = svg('text', { x: labelWidth - 6, y: y + row - 5, 'class': 'iw-bar-label',
                                'text-anchor': 'end' }, bar.category);
      label.appendChild(svg('title', {}, bar.category));
      root.appendChild(label);
      var rect = svg('rect', { x: labelWidth, y: y + 2, width: w, height: row - 4,
                               fill: colors.length ? colors[i % colors.length] : '#416674',
                               'class': 'iw-bar' });
      rect.appendChild(svg('title', {}, bar.category + ': ' + bar.text));
      root.appendChild(rect);
      root.appendChild(svg('text', { x: labelWidth + w + 4, y: y + row - 5,
                                     'class': 'iw-bar-value', fill: '#333' }, bar.text));
    });
    area.textContent = '';
    area.classList.add('iw-chart-tall');
    area.appendChild(root);
  }

  function drawLegend(legend, list, colors, categoryName) {
    legend.textContent = '';
    legend.appendChild(html('div', 'iw-legend-title', '图例 - ' + categoryName));
    var table = html('table', 'iw-legend-table');
    list.forEach(function (bar, i) {
      var tr = document.createElement('tr');
      var swatch = html('td', 'iw-legend-value', bar.text);
      swatch.style.background = colors.length ? colors[i % colors.length] : '#416674';
      tr.appendChild(swatch);
      tr.appendChild(html('td', 'iw-legend-category', bar.category));
      table.appendChild(tr);
    });
    legend.appendChild(table);
  }

  function drawChart(box) {
    var data = readData(box);
    if (!data) return;
    var list = bars(data);
    var colors = data.colors || [];
    var area = box.querySelector('.iw-chart');
    // Past this many groups upright bars get too thin for their labels.
    if (area && list.length > MAX_UPRIGHT_BARS) drawHorizontalBars(area, list, colors);
    else if (area) drawBars(area, list, colors, data.showValues);
    var legend = box.querySelector('.iw-chart-legend');
    if (legend) drawLegend(legend, list, colors, data.category);
  }

  // Numbers compare as numbers, other texts in the Chinese collation.
  function compareCells(a, b) {
    var x = numberOf(a);
    var y = numberOf(b);
    if (!isNaN(x) && !isNaN(y)) return x - y;
    return String(a).localeCompare(String(b), 'zh-CN');
  }

  function drawGrid(box) {
    var data = readData(box);
    if (!data) return;
    var state = { column: -1, ascending: true, filters: data.columns.map(function () { return ''; }) };
    var table = html('table', 'grid iw-dyngrid-table');
    var head = document.createElement('thead');
    var titles = document.createElement('tr');
    var filters = html('tr', 'iw-filter-band');
    var body = document.createElement('tbody');
    var status = html('div', 'iw-dyngrid-status');

    function render() {
      var shown = data.rows.filter(function (row) {
        return state.filters.every(function (f, c) {
          return f === '' || String(row[c] === undefined ? '' : row[c]).toLowerCase().indexOf(f) >= 0;
        });
      });
      if (state.column >= 0) {
        var c = state.column;
        var sign = state.ascending ? 1 : -1;
        // Equal cells keep the data set's order.
        shown = shown.map(function (row, i) { return { row: row, i: i }; })
          .sort(function (a, b) { return sign * compareCells(a.row[c], b.row[c]) || a.i - b.i; })
          .map(function (e) { return e.row; });
      }
      var rows = document.createDocumentFragment();
      shown.forEach(function (row) {
        var tr = document.createElement('tr');
        data.columns.forEach(function (name, c) {
          tr.appendChild(html('td', '', row[c] === undefined ? '' : String(row[c])));
        });
        rows.appendChild(tr);
      });
      body.textContent = '';
      body.appendChild(rows);
      Array.prototype.forEach.call(titles.children, function (th, c) {
        th.setAttribute('aria-sort', c !== state.column ? 'none'
                                     : state.ascending ? 'ascending' : 'descending');
      });
      status.textContent = '显示 ' + shown.length + ' / ' + data.rows.length + ' 行';
    }

    data.columns.forEach(function (name, c) {
      var th = html('th', 'iw-sortable', name);
      th.title = '点击排序';
      th.addEventListener('click', function () {
        state.ascending = state.column === c ? !state.ascending : true;
        state.column = c;
        render();
      });
      titles.appendChild(th);
      var cell = document.createElement('th');
      var input = html('input', 'iw-filter');
      input.type = 'text';
      input.placeholder = '筛选';
      input.setAttribute('aria-label', '筛选 ' + name);
      input.addEventListener('input', function () {
        state.filters[c] = input.value.trim().toLowerCase();
        render();
      });
      // Enter in a filter text must not submit the page.
      input.addEventListener('keydown', function (e) { if (e.key === 'Enter') e.preventDefault(); });
      cell.appendChild(input);
      filters.appendChild(cell);
    });
    head.appendChild(titles);
    head.appendChild(filters);
    table.appendChild(head);
    table.appendChild(body);
    box.appendChild(table);
    box.appendChild(status);
    render();
  }

  function drawAll() {
    Array.prototype.forEach.call(document.querySelectorAll('.iw-chart-box'), drawChart);
    Array.prototype.forEach.call(document.querySelectorAll('.iw-dyngrid'), drawGrid);
  }

  if (document.readyState === 'loading') {
    document.addEventListener('DOMContentLoaded', drawAll);
  } else {
    drawAll();
  }
})();
